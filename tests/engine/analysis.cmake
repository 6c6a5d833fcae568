terraq_add_test(test_engine_analysis ${CMAKE_CURRENT_LIST_DIR}/analysis/ConcurrentAnalysesTest.cpp)
find_package(Threads REQUIRED)
target_link_libraries(test_engine_analysis PRIVATE Threads::Threads)
