# Test program of text-file writing and EInOutError.
