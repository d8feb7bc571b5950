#include "gui/file_dialog.h"

namespace {

Glib::RefPtr<Gtk::FileFilter> make_filter(const FileFilterSpec& wanted) {
  auto filter = Gtk::FileFilter::create();
  filter->set_name(Glib::ustring(wanted.name.data(), wanted.name.size()));
  if (wanted.suffixes.empty()) filter->add_pattern("*");
  for (std::string_view suffix : wanted.suffixes) filter->add_suffix(std::string(suffix));
  return filter;
}

// The drawer as a folder the dialog can show: relative drawers are taken
// from the current directory; one that does not exist (the initial "Vector"
// usually) leaves the dialog in the current directory.
Glib::RefPtr<Gio::File> start_folder(const std::string& drawer) {
  if (drawer.empty() || !Glib::file_test(drawer, Glib::FileTest::IS_DIR)) {
    return Gio::File::create_for_path(".");
  }
  return Gio::File::create_for_path(drawer);
}

}  // namespace

void FileDialog::request(Gtk::Window& parent, FileRequestUse use, std::string& drawer,
                         std::string& file_name, Chosen on_chosen) {
  if (dialog_ && dialog_->get_visible()) return;
  const FileRequestSpec& wanted = file_request_spec(use);
  auto action = wanted.save ? Gtk::FileChooser::Action::SAVE : Gtk::FileChooser::Action::OPEN;
  // In save mode the dialog asks before it lets an existing file be replaced.
  dialog_ = Gtk::FileChooserNative::create(Glib::ustring(wanted.title.data(), wanted.title.size()),
                                           parent, action, "OK", "Cancel");
  Gtk::FileChooserNative& dialog = *dialog_;
  dialog.set_modal(true);
  // The first filter added is the one in effect.
  for (const FileFilterSpec& filter : wanted.filters) dialog.add_filter(make_filter(filter));

  try {
    dialog.set_current_folder(start_folder(drawer));
    if (!file_name.empty()) {
      if (wanted.save) {
        dialog.set_current_name(file_name);
      } else {
        std::string proposed = file_request_join(drawer, file_name);
        if (Glib::file_test(proposed, Glib::FileTest::IS_REGULAR)) {
          dialog.set_file(Gio::File::create_for_path(proposed));
        }
      }
    }
  } catch (const Glib::Error&) {
    // A folder that cannot be shown leaves the dialog wherever it opens.
  }

  dialog.signal_response().connect(
      [this, &drawer, &file_name, on_chosen = std::move(on_chosen)](int response) {
        std::string chosen;
        if (response == Gtk::ResponseType::ACCEPT) {
          if (auto file = dialog_->get_file()) chosen = file->get_path();
        }
        if (chosen.empty()) return;  // cancelled, or not a local file
        file_request_split(chosen, drawer, file_name);
        on_chosen(file_request_join(drawer, file_name));
      });
  dialog.show();
}
