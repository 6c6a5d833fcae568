# The flow net of a ten-layer profile.
add_executable(bench_seepage ${CMAKE_CURRENT_LIST_DIR}/bench_seepage.cpp)
target_link_libraries(bench_seepage PRIVATE terraq_engine benchmark::benchmark)
