#pragma once
// The viewer's application: builds the window, shows vector_file (when given)
// and runs until the window is closed, "Quit..." is chosen or SIGINT or
// SIGTERM arrives. Returns 1 after a normal run and 0 when the application
// cannot be built (no display, for instance), after saying so on stdout.

#include <optional>
#include <string>

int application_run(const std::optional<std::string>& vector_file);

// The line printed when the application cannot be built.
inline constexpr const char* kApplicationBuildFailure =
    "Die Applikation kann nicht generiert werden !";
