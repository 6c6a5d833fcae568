terraq_add_test(test_engine_input
  ${CMAKE_CURRENT_LIST_DIR}/input/StationsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/input/EchoGoldenTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/input/MalformedInputTest.cpp)
target_include_directories(test_engine_input PRIVATE ${CMAKE_CURRENT_LIST_DIR}/input)
