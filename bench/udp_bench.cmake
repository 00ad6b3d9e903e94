# The self-timing UDP receive path benchmark; the bench preset builds it beside
# the Google Benchmark program, the windows preset builds it to run under Wine.
# The main loop that plays the program's main thread comes from the tests' support.
kestrin_platform_sources(udp_bench_sources
    ${CMAKE_CURRENT_LIST_DIR}/udp_bench.cpp
    ${CMAKE_CURRENT_LIST_DIR}/udp_bench_traffic.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/main_loop_posix.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/main_loop_win32.cpp
)
add_executable(udp_bench ${udp_bench_sources})
target_include_directories(udp_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(udp_bench PRIVATE kestrin_net kestrin_core kestrin_warnings)
# build/<preset>/bench/udp_bench, wherever it is declared from.
set_target_properties(udp_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
