# The report's own lines, written from a model set up by hand.
terraq_add_test(test_engine_output
  ${CMAKE_CURRENT_LIST_DIR}/output/StationWarningsTest.cpp)
