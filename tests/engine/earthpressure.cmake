# The earth-pressure generator: its soil profile, coefficients, surcharge
# pressures, the generated tables and their stops, read back from the plot
# file and the report of whole runs.
terraq_add_test(test_engine_earthpressure
  ${CMAKE_CURRENT_LIST_DIR}/earthpressure/EarthPressureCase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/earthpressure/ProfileTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/earthpressure/SurchargeTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/earthpressure/PressureTableTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/earthpressure/TrapezoidTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/earthpressure/ExamplesTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/earthpressure/TheoriesTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/earthpressure/SeismicPressureTest.cpp)
target_include_directories(test_engine_earthpressure PRIVATE ${CMAKE_CURRENT_LIST_DIR}/earthpressure)
