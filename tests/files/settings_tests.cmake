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

kestrin_corpus_replay(ini_corpus_replay
    TARGET ${PROJECT_SOURCE_DIR}/fuzz/ini_reader_fuzz.cpp
    CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/ini_corpus
    LIBRARIES kestrin_files)
