#pragma once
// The view: shows the current document, rendered by its own thread into a
// 1280 x 1024 surface, and saves it. It owns the document's RendererData.

#include <gtkmm.h>

#include <memory>
#include <string>

#include "app/export.h"
#include "app/renderer_data.h"
#include "gui/file_dialog.h"
#include "gui/render_loop.h"
#include "gui/view_status.h"

class VectorView : public Gtk::Widget {
 public:
  static constexpr int kMinWidth = 320;
  static constexpr int kMinHeight = 240;
  static constexpr int kDefaultWidth = 640;
  static constexpr int kDefaultHeight = 480;

  VectorView();
  ~VectorView() override;

  // Asks for a file in the open dialog, then loads it.
  void open();
  // Shows the file at path: its kind is detected now, it is drawn by the
  // render thread at the view's size once the view is on screen.
  void load(const std::string& path);
  // Asks for an output name in the save dialog, then saves the document.
  void save(ExportFormat format);
  void save_pdf() { save(ExportFormat::Pdf); }
  void save_svg() { save(ExportFormat::Svg); }
  void save_eps() { save(ExportFormat::Eps); }
  void save_png() { save(ExportFormat::Png); }
  // Draws the current document into cr at the view's last size, in this
  // thread; never while the render thread draws.
  RenderStatus render_to(cairo_t* cr);
  // The display surface exists while the view is realized.
  void create_display();
  void destroy_display();
  // Shows the picture the render thread has handed over, if any.
  void redraw();

  const std::string& status_text() const { return status_text_; }
  sigc::signal<void(const std::string&)>& signal_status_changed() { return status_changed_; }

 protected:
  Gtk::SizeRequestMode get_request_mode_vfunc() const override;
  void measure_vfunc(Gtk::Orientation orientation, int for_size, int& minimum, int& natural,
                     int& minimum_baseline, int& natural_baseline) const override;
  void snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot) override;
  void on_realize() override;
  void on_unrealize() override;

 private:
  void export_to(ExportFormat format, const std::string& output_path);
  void show_export_error(const std::string& output_path, const std::string& reason);
  void set_busy(bool busy);
  void update_status(const std::string& note = {});
  Gtk::Window* window();

  RendererData data_;
  ViewStatusInput status_;
  std::string status_text_;
  sigc::signal<void(const std::string&)> status_changed_;
  FileDialog file_dialog_;
  std::unique_ptr<Gtk::MessageDialog> error_dialog_;
  Glib::RefPtr<Gdk::Texture> picture_;
  Glib::Dispatcher redraw_dispatcher_;
  RenderLoop loop_;  // last: its thread may use the dispatcher until it ends
};
