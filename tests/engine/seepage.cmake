# Steady seepage round the wall (against Harr's closed form, the equal-path
# method by hand, the transformed section) and the hydraulic checks.
terraq_add_test(test_engine_seepage
  ${CMAKE_CURRENT_LIST_DIR}/seepage/FlowNetTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/seepage/HydraulicChecksTest.cpp)
