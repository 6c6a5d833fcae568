# The engine's public vocabulary (soil models, earth-pressure theories, units,
# the data file's records)
# against the engine.
terraq_add_test(test_engine_api ${CMAKE_CURRENT_LIST_DIR}/api/VocabularyTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/api/DataRecordsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/api/EarthPressureTheoriesTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/api/SeismicTest.cpp)
