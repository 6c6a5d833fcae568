terraq_add_test(test_engine_solver
  ${CMAKE_CURRENT_LIST_DIR}/SmokeTest.cpp)
