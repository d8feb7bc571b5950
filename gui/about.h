#pragma once
// The about windows: one for Plotmira, one for the toolkit it is built on.

#include <gtkmm.h>

#include <memory>

inline constexpr const char* kAboutTitle = "Plotmira";
inline constexpr const char* kAboutDescription = "Display Vectorgraphic";
inline constexpr const char* kAboutRights = "Copyright \u00a9 2026 the Plotmira authors";
inline constexpr const char* kAboutAuthor = "The Plotmira authors";

// Both hide when closed; closing them never ends the program.
std::unique_ptr<Gtk::AboutDialog> about_dialog_create(Gtk::Window& parent);
std::unique_ptr<Gtk::AboutDialog> about_toolkit_dialog_create(Gtk::Window& parent);
