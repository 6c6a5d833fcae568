# Generated soil resistance of the stiff clays, silt and rock: each model's
# curves against its published criterion, the equivalent depth of a layer
# below another, the stops for data no curve can be built from, and whole
# analyses with every model.
terraq_add_test(test_engine_soil2
  ${CMAKE_CURRENT_LIST_DIR}/soil/PyCase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soil2/StiffClayTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soil2/SiltTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soil2/RockTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soil2/ModelRunTest.cpp)
target_include_directories(test_engine_soil2 PRIVATE ${CMAKE_CURRENT_LIST_DIR}/soil)
