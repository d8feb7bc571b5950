#pragma once
// The open and save dialogs. They share one drawer and file name memory, so
// that every dialog starts where the previous one ended.

#include <gtkmm.h>

#include <functional>
#include <string>

#include "gui/file_request.h"

class FileDialog {
 public:
  using Chosen = std::function<void(const std::string& path)>;

  // Shows the dialog for `use` over `parent`, starting in `drawer` with
  // `file_name` proposed. When a file is chosen, drawer and file_name receive
  // the choice and on_chosen the joined path; on cancel nothing changes.
  // Both strings must outlive the dialog. Ignored while a dialog is showing.
  void request(Gtk::Window& parent, FileRequestUse use, std::string& drawer, std::string& file_name,
               Chosen on_chosen);

 private:
  Glib::RefPtr<Gtk::FileChooserNative> dialog_;
};
