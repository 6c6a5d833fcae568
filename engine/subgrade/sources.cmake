list(APPEND TERRAQ_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/SideSpring.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SubgradeSprings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SubgradeSequence.cpp
)
