# Generated soil resistance: the soil profile and its lookups, each model's
# curves against its published criterion, the equivalent depth of a layer
# below another, the stops for data no curve can be built from, and whole
# runs read back from the report and the plot file with every model; and the
# same wall in English and SI units (earth pressure included).
terraq_add_test(test_engine_soil
  ${CMAKE_CURRENT_LIST_DIR}/soil/PyCase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soil/ProfileTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soil/LookupsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soil/SoftClayTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soil/SandTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soil/StiffClayTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soil/SiltTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soil/RockTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soil/GeneratedRunTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soil/ModelRunTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soil/UnitsSystemTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soil/ContinuousBeam.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soil/PublishedSpringsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/solver/WallCase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/earthpressure/EarthPressureCase.cpp)
target_include_directories(test_engine_soil PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/soil ${CMAKE_CURRENT_LIST_DIR}/earthpressure
  ${CMAKE_CURRENT_LIST_DIR}/solver)
