# Sources of the settings file (TIniFile); appended to files_sources.
list(APPEND files_sources)
