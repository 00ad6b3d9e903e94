// Filled in with the settings read tests.
