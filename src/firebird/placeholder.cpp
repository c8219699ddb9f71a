// Removed once this folder has its first real source file.
