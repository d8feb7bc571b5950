#pragma once
// The main window: the "Project" menu, the open button, the view, the four
// save buttons and the status line; files dropped on it are loaded.

#include <gtkmm.h>

#include <optional>
#include <string>

#include "gui/vector_view.h"

class MainWindow : public Gtk::ApplicationWindow {
 public:
  // vector_file, when given, is loaded before the window is shown.
  explicit MainWindow(const std::optional<std::string>& vector_file);

  VectorView& view() { return view_; }

 private:
  void add_actions();
  void add_drop_target();
  bool on_drop(const Glib::ValueBase& value, double x, double y);
  void show_about();
  void show_about_toolkit();

  Gtk::Box root_{Gtk::Orientation::VERTICAL};
  Gtk::Frame top_frame_;
  Gtk::Box top_row_{Gtk::Orientation::HORIZONTAL};
  Gtk::Button open_button_{"Open Vectorgraphic"};
  Gtk::ScrolledWindow scroller_;
  Gtk::Frame view_frame_;
  VectorView view_;
  Gtk::Frame bottom_frame_;
  Gtk::Box bottom_row_{Gtk::Orientation::HORIZONTAL};
  Gtk::Button save_pdf_{"Save as PDF..."};
  Gtk::Button save_svg_{"Save as SVG..."};
  Gtk::Button save_eps_{"Save as EPS..."};
  Gtk::Button save_png_{"Save as PNG..."};
  Gtk::Label status_;
  std::unique_ptr<Gtk::AboutDialog> about_;
  std::unique_ptr<Gtk::AboutDialog> about_toolkit_;
};

// The "Project" menu, shared by the application's windows.
Glib::RefPtr<Gio::Menu> main_window_menu();
// Ctrl+O, Ctrl+I, Ctrl+? and Ctrl+Q for the menu's actions.
void main_window_set_accels(Gtk::Application& app);
