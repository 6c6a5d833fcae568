# The Construction Sequence window, as a list the widgets library takes in.
set(TERRAQ_SEQUENCE_WINDOW_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/TSequenceForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TSequenceFormTables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TSequencePicture.cpp)
