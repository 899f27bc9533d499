// Stands in for a library's sources while its folder has none yet.
