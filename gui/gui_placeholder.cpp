// The window is not built yet.
