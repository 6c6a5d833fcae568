terraq_add_test(test_engine_driver
  ${CMAKE_CURRENT_LIST_DIR}/driver/EntryTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/driver/RunAnalysisTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/driver/FuzzRegressionTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/driver/OutputsUnchangedTest.cpp)
target_include_directories(test_engine_driver PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/driver ${CMAKE_CURRENT_LIST_DIR}/input)
# The entry is tested through the shared library itself, loaded at run time
# as the programs load it.
target_link_libraries(test_engine_driver PRIVATE ${CMAKE_DL_LIBS})
add_dependencies(test_engine_driver Terraq2013_DLL)
