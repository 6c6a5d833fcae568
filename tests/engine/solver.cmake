# Physics of the beam-column solver: closed-form solutions, equilibrium of
# the nonlinear springs, the iteration's warnings and the exact layouts of
# its output lines; and the sample projects that ship in examples/.
terraq_add_test(test_engine_solver
  ${CMAKE_CURRENT_LIST_DIR}/solver/WallCase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/solver/ClosedFormTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/solver/RestrainedEndsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/solver/RefinementTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/solver/NonlinearTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/solver/WarningsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/solver/ZeroPivotTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/solver/NumericalValidityTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/solver/LayoutTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/solver/SegmentTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/solver/ShearAndStepTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/solver/ExamplesTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/solver/OutputFilesTest.cpp)
target_include_directories(test_engine_solver PRIVATE ${CMAKE_CURRENT_LIST_DIR}/solver)
