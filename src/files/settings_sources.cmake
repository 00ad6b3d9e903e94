# Sources of the settings file (TIniFile); appended to files_sources. The INI
# text rules serve the POSIX side and the fuzz target, and are tested on both.
list(APPEND files_sources
    ini_file.cpp
    ini_file_posix.cpp
    ini_file_win32.cpp
    ini_text.cpp
)
