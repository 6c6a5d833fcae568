terraq_add_test(test_engine_textio
  ${CMAKE_CURRENT_LIST_DIR}/textio/FixedFormatTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/textio/FieldDigitsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/textio/FreeFormatReaderTest.cpp)
