# The Design, Design Situations and Study windows, as one list that the widgets library takes in.
set(TERRAQ_DESIGN_WINDOW_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/DesignGraph.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FigureView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StudyBars.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StudyFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StudyGraphOutput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TDesignForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DesignFormChoices.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TDesignFormApparent.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TDesignSituationsForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TDesignSituationsFormLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TDesignSituationsFormResults.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TStudyForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TStudyFormDefinition.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TStudyFormGraphs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TStudyFormLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TStudyFormResults.cpp)
