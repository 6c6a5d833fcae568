# The engine's public vocabulary (soil models, units) against the engine.
terraq_add_test(test_engine_api ${CMAKE_CURRENT_LIST_DIR}/api/VocabularyTest.cpp)
