list(APPEND TERRAQ_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Coefficients.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EarthPressureReport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GenerateEarthPressure.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Layers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Overburden.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PressureTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SeismicStage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Surcharge.cpp
)
