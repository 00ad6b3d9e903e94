// Filled in with the settings reads.
