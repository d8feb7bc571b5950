#pragma once
// The program's version, as the build names it.

#include <string>

// "1.35".
std::string plotmira_version_text();
// "Plotmira 1.35 (11.12.2026)", the line --version prints.
std::string plotmira_version_line();
