list(APPEND TERRAQ_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Analysis.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AnalysisEntry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EngineEntries.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DataRecords.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EarthPressureFaces.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EarthPressureTheories.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LogSpiral.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Seismic.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SeismicFaces.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SeepageOptions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SoilModelTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Subgrade.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Units.cpp
)
list(APPEND TERRAQ_ENGINE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/SoilDescription.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Rounding.cpp)
