// Placeholder so the library has a source until its first class lands.
