# The plot window's Plot menu, its dialogs and its output commands, as one
# list that the widgets library takes in.
set(TERRAQ_PLOT_COMMANDS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/GraphSaveChoice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphSaveCommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TPlotFormMenu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TPlotFormOutput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TdlgFormat.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmActiveLines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmGraphCaption.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmLineNames.cpp)
