# The soak run against the real kestrin.exe (Windows only, run under Wine by
# `make soak`); it starts a scratch copy of the program placed beside it.
add_executable(soak ${CMAKE_CURRENT_LIST_DIR}/soak.cpp ${PROJECT_SOURCE_DIR}/tests/app/running_program.cpp)
target_include_directories(soak PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(soak PRIVATE kestrin_net psapi kestrin_warnings)
set_target_properties(soak PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_dependencies(soak kestrin)
add_custom_command(TARGET soak POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:kestrin> $<TARGET_FILE_DIR:soak>)
