#include "gui/version.h"

#define PLOTMIRA_VERSION_LINE "Plotmira " PLOTMIRA_VERSION " (11.12.2026)"

// Embedded so that the usual version tools find it in the binary.
extern const char plotmira_version_tag[];
const char plotmira_version_tag[] = "$VER: " PLOTMIRA_VERSION_LINE;

std::string plotmira_version_text() { return PLOTMIRA_VERSION; }

std::string plotmira_version_line() { return PLOTMIRA_VERSION_LINE; }
