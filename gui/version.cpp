#include "gui/version.h"

// Embedded so that the usual version tools find it in the binary.
extern const char plotmira_version_tag[];
const char plotmira_version_tag[] = "$VER: Plotmira " PLOTMIRA_VERSION " (11.12.2026)";

std::string plotmira_version_text() { return PLOTMIRA_VERSION; }

std::string plotmira_version_line() { return "Plotmira " PLOTMIRA_VERSION " (11.12.2026)"; }
