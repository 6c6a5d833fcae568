terraq_add_test(test_engine_analysis ${CMAKE_CURRENT_LIST_DIR}/analysis/ConcurrentAnalysesTest.cpp)
find_package(Threads REQUIRED)
target_link_libraries(test_engine_analysis PRIVATE Threads::Threads)

# Sequential staged construction: the hysteretic soil spring and the stages
# carried one into the next.
terraq_add_test(test_engine_sequential
  ${CMAKE_CURRENT_LIST_DIR}/solver/WallCase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/solver/HystereticSpringTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/analysis/SequentialStagesTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/analysis/SequentialReversalTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/analysis/SoilWallText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/analysis/PublishedWinklerWallTest.cpp)
target_include_directories(test_engine_sequential PRIVATE ${CMAKE_CURRENT_LIST_DIR}/solver)
target_link_libraries(test_engine_sequential PRIVATE Threads::Threads)

# The subgrade-reaction soil model.
terraq_add_test(test_engine_subgrade
  ${CMAKE_CURRENT_LIST_DIR}/analysis/SoilWallText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/analysis/SubgradeModelTest.cpp)

# Seepage in the analysis: the pore pressures of the seepage solution in the
# springs, the generated earth pressure and the p-y model's loads.
terraq_add_test(test_engine_seepage_analysis
  ${CMAKE_CURRENT_LIST_DIR}/analysis/SoilWallText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/analysis/SeepageAnalysisTest.cpp)
