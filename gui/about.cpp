#include "gui/about.h"

#include <gtk/gtk.h>

#include <string>

#include "gui/version.h"

namespace {

std::unique_ptr<Gtk::AboutDialog> make_dialog(Gtk::Window& parent) {
  auto dialog = std::make_unique<Gtk::AboutDialog>();
  dialog->set_transient_for(parent);
  dialog->set_hide_on_close(true);
  dialog->set_modal(false);
  return dialog;
}

std::string version_text(unsigned major, unsigned minor, unsigned micro) {
  return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(micro);
}

}  // namespace

std::unique_ptr<Gtk::AboutDialog> about_dialog_create(Gtk::Window& parent) {
  auto dialog = make_dialog(parent);
  dialog->set_program_name(kAboutTitle);
  dialog->set_version(plotmira_version_text());
  dialog->set_comments(kAboutDescription);
  dialog->set_copyright(kAboutRights);
  dialog->set_authors({kAboutAuthor});
  auto icons = Gtk::IconTheme::get_for_display(parent.get_display());
  if (icons && icons->has_icon("plotmira")) dialog->set_logo_icon_name("plotmira");
  return dialog;
}

std::unique_ptr<Gtk::AboutDialog> about_toolkit_dialog_create(Gtk::Window& parent) {
  auto dialog = make_dialog(parent);
  dialog->set_program_name("GTK");
  dialog->set_version(
      version_text(gtk_get_major_version(), gtk_get_minor_version(), gtk_get_micro_version()));
  dialog->set_comments("The toolkit that draws Plotmira's windows, used through gtkmm " +
                       version_text(GTKMM_MAJOR_VERSION, GTKMM_MINOR_VERSION, GTKMM_MICRO_VERSION) +
                       ".");
  dialog->set_website("https://www.gtk.org");
  dialog->set_website_label("www.gtk.org");
  dialog->set_license_type(Gtk::License::LGPL_2_1);
  return dialog;
}
