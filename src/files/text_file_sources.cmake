# Sources of text-file writing and EInOutError; appended to files_sources.
list(APPEND files_sources
    in_out_error.cpp
    text_file.cpp
    text_file_posix.cpp
    text_file_win32.cpp
    ansi_text_posix.cpp
    ansi_text_win32.cpp
)
