# The numeric entry field widget and the data dialogs, as one list that the
# widgets library takes in.
set(TERRAQ_DIALOGS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/TDataEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DialogPicture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TDataDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TdlgTitle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TDlgProp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TDlgSection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TDlgWallConfig.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TableDialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TDialogWindows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TDlgStaged.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TEarthPressurePanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TSoilModelPanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TSubgradeModulusDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TWaterShakingPanel.cpp)
