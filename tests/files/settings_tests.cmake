# Test program of the settings file (TIniFile).
