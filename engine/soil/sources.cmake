list(APPEND TERRAQ_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/CurveOutput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GeneratePyCurves.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LayeredSoil.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Lookups.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PyReport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Sand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Silt.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SoftClay.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SoilModels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SoilProfile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StationSprings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StiffClayFreeWater.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StiffClayNoFreeWater.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StrongRock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UnitLabels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WeakRock.cpp
)
