list(APPEND TERRAQ_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/FivePointSystem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FlowNet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GradedLines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HydraulicChecks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SeepageMethods.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SolveSeepage.cpp
)
