# Test program of text-file writing and EInOutError.
kestrin_platform_sources(text_file_platform_tests
    ansi_text_test_posix.cpp
    other_program_posix.cpp
    other_program_win32.cpp
    text_file_test_posix.cpp
)
kestrin_test(text_file_test
    SOURCES
        text_file_test.cpp
        text_file_sharing_test.cpp
        text_file_whole_lines_test.cpp
        ${text_file_platform_tests}
    LIBRARIES kestrin_core)
