# Test program of the settings file (TIniFile) and its INI text rules.
kestrin_platform_sources(settings_platform_tests
    ini_file_test_posix.cpp
    ini_file_test_win32.cpp
)
kestrin_test(settings_test
    SOURCES
        ini_file_test.cpp
        ini_text_test.cpp
        ${settings_platform_tests}
    LIBRARIES kestrin_files)

# The fuzz target's checks over the checked-in INI corpus, natively; the
# replay program is the syslog corpus's, pointed at this corpus.
if(NOT WIN32)
    add_executable(ini_corpus_replay
        ${PROJECT_SOURCE_DIR}/tests/syslog/syslog_corpus_replay.cpp
        ${PROJECT_SOURCE_DIR}/fuzz/ini_reader_fuzz.cpp)
    target_link_libraries(ini_corpus_replay PRIVATE kestrin_files kestrin_warnings)
    target_compile_definitions(ini_corpus_replay PRIVATE
        KESTRIN_SYSLOG_CORPUS_DIR="${CMAKE_CURRENT_SOURCE_DIR}/ini_corpus")
    add_test(NAME ini_corpus_replay COMMAND ini_corpus_replay)
endif()
