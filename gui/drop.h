#pragma once
// Files dropped on the window: only the first one is loaded.

#include <glib-object.h>

#include <optional>
#include <string>

// The local path of the first file in a dropped file list; nothing when the
// value holds no file list, the list is empty or its first file is not local.
std::optional<std::string> drop_first_path(const GValue* value);
