# Sources of text-file writing and EInOutError; appended to files_sources.
list(APPEND files_sources)
