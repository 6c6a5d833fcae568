list(APPEND TERRAQ_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Curves.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DerivedResults.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GeneratedSprings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HystereticSprings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IterateSolution.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResultValidity.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RigidBodySupport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SolveBeamColumn.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StageSupports.cpp
)
