# The self-timing append benchmark; the bench preset builds it beside the
# Google Benchmark program, the windows preset builds it to run under Wine.
kestrin_platform_sources(append_bench_sources
    ${CMAKE_CURRENT_LIST_DIR}/append_bench.cpp
    ${CMAKE_CURRENT_LIST_DIR}/append_floor_posix.cpp
    ${CMAKE_CURRENT_LIST_DIR}/append_floor_win32.cpp
)
add_executable(append_bench ${append_bench_sources})
target_link_libraries(append_bench PRIVATE kestrin_core kestrin_warnings)
# build/<preset>/bench/append_bench, wherever it is declared from.
set_target_properties(append_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
