// Filled in with the daily log append.
