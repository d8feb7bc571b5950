#include "gui/main_window.h"

#include <gtk/gtk.h>

#include "gui/about.h"
#include "gui/drop.h"

MainWindow::MainWindow(const std::optional<std::string>& vector_file) {
  set_title("Plotmira");
  set_name("plotmira-main");

  top_row_.append(open_button_);
  open_button_.set_hexpand(true);
  top_frame_.set_child(top_row_);

  view_frame_.set_child(view_);
  scroller_.set_child(view_frame_);
  scroller_.set_policy(Gtk::PolicyType::AUTOMATIC, Gtk::PolicyType::AUTOMATIC);
  scroller_.set_propagate_natural_width(true);
  scroller_.set_propagate_natural_height(true);
  scroller_.set_hexpand(true);
  scroller_.set_vexpand(true);

  bottom_row_.set_homogeneous(true);
  for (Gtk::Button* button : {&save_pdf_, &save_svg_, &save_eps_, &save_png_}) {
    bottom_row_.append(*button);
  }
  bottom_frame_.set_child(bottom_row_);

  status_.set_xalign(0);
  status_.set_ellipsize(Pango::EllipsizeMode::MIDDLE);
  status_.set_max_width_chars(1);  // a long text is shortened, never widens the window
  status_.set_margin_start(6);
  status_.set_margin_end(6);
  status_.set_margin_top(2);
  status_.set_margin_bottom(2);
  status_.set_text(view_.status_text());
  view_.signal_status_changed().connect([this](const std::string& text) {
    status_.set_text(text);
    status_.set_tooltip_text(text);
  });

  root_.append(top_frame_);
  root_.append(scroller_);
  root_.append(bottom_frame_);
  root_.append(status_);
  set_child(root_);

  // Buttons act when they are released.
  open_button_.signal_clicked().connect([this] { view_.open(); });
  save_pdf_.signal_clicked().connect([this] { view_.save_pdf(); });
  save_svg_.signal_clicked().connect([this] { view_.save_svg(); });
  save_eps_.signal_clicked().connect([this] { view_.save_eps(); });
  save_png_.signal_clicked().connect([this] { view_.save_png(); });

  add_actions();
  add_drop_target();
  set_show_menubar(true);

  if (vector_file) view_.load(*vector_file);
}

void MainWindow::add_actions() {
  add_action("open", [this] { view_.open(); });
  add_action("about", [this] { show_about(); });
  add_action("about-toolkit", [this] { show_about_toolkit(); });
  add_action("quit", [this] { close(); });
}

void MainWindow::add_drop_target() {
  auto target = Gtk::DropTarget::create(GDK_TYPE_FILE_LIST, Gdk::DragAction::COPY);
  target->signal_drop().connect(sigc::mem_fun(*this, &MainWindow::on_drop), false);
  add_controller(target);
}

bool MainWindow::on_drop(const Glib::ValueBase& value, double, double) {
  std::optional<std::string> path = drop_first_path(value.gobj());
  if (!path) return false;
  view_.load(*path);
  return true;
}

void MainWindow::show_about() {
  if (!about_) about_ = about_dialog_create(*this);
  about_->present();
}

void MainWindow::show_about_toolkit() {
  if (!about_toolkit_) about_toolkit_ = about_toolkit_dialog_create(*this);
  about_toolkit_->present();
}

Glib::RefPtr<Gio::Menu> main_window_menu() {
  auto items = Gio::Menu::create();
  items->append("Open...", "win.open");
  items->append("About...", "win.about");
  items->append("About GTK...", "win.about-toolkit");
  auto quit = Gio::Menu::create();
  quit->append("Quit...", "win.quit");  // its own section: the separator bar above it
  auto project = Gio::Menu::create();
  project->append_section(items);
  project->append_section(quit);
  auto bar = Gio::Menu::create();
  bar->append_submenu("Project", project);
  return bar;
}

void main_window_set_accels(Gtk::Application& app) {
  app.set_accel_for_action("win.open", "<Control>o");
  app.set_accel_for_action("win.about", "<Control>i");
  app.set_accel_for_action("win.about-toolkit", "<Control>question");
  app.set_accel_for_action("win.quit", "<Control>q");
}
