#include "gui/vector_view.h"

#include <algorithm>

#include "app/detect.h"
#include "app/render_document.h"

namespace {

FileRequestUse save_use(ExportFormat format) {
  switch (format) {
    case ExportFormat::Pdf: return FileRequestUse::SavePdf;
    case ExportFormat::Svg: return FileRequestUse::SaveSvg;
    case ExportFormat::Eps: return FileRequestUse::SaveEps;
    case ExportFormat::Png: return FileRequestUse::SavePng;
  }
  return FileRequestUse::SavePdf;
}

// The texture shares the surface's pixels and keeps the surface alive; the
// render loop draws the next picture elsewhere while it is shown.
Glib::RefPtr<Gdk::Texture> texture_from_surface(CairoSurfacePtr surface) {
  int stride = cairo_image_surface_get_stride(surface.get());
  int height = cairo_image_surface_get_height(surface.get());
  int width = cairo_image_surface_get_width(surface.get());
  unsigned char* data = cairo_image_surface_get_data(surface.get());
  cairo_surface_t* owned = surface.release();
  GBytes* bytes = g_bytes_new_with_free_func(
      data, static_cast<gsize>(stride) * static_cast<gsize>(height),
      [](gpointer s) { cairo_surface_destroy(static_cast<cairo_surface_t*>(s)); }, owned);
  return Gdk::MemoryTexture::create(width, height, Gdk::MemoryTexture::DEFAULT_FORMAT,
                                    Glib::wrap(bytes), static_cast<gsize>(stride));
}

}  // namespace

VectorView::VectorView()
    : Glib::ObjectBase("PlotmiraVectorView"), loop_([this] { redraw_dispatcher_.emit(); }) {
  set_name("vector-view");
  set_hexpand(true);
  set_vexpand(true);
  redraw_dispatcher_.connect(sigc::mem_fun(*this, &VectorView::redraw));
  update_status();
}

VectorView::~VectorView() {
  // Waits for a render in progress; a redraw it handed over is dropped.
  loop_.stop();
}

Gtk::SizeRequestMode VectorView::get_request_mode_vfunc() const {
  return Gtk::SizeRequestMode::CONSTANT_SIZE;
}

void VectorView::measure_vfunc(Gtk::Orientation orientation, int, int& minimum, int& natural,
                               int& minimum_baseline, int& natural_baseline) const {
  bool horizontal = orientation == Gtk::Orientation::HORIZONTAL;
  minimum = horizontal ? kMinWidth : kMinHeight;
  natural = horizontal ? kDefaultWidth : kDefaultHeight;
  minimum_baseline = natural_baseline = -1;
}

void VectorView::snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot) {
  // The view never draws beyond the display surface, which is as large as
  // the view may become.
  int width = std::min(get_width(), RenderLoop::kSurfaceWidth);
  int height = std::min(get_height(), RenderLoop::kSurfaceHeight);
  data_.width = width;
  data_.height = height;
  loop_.set_size(width, height);
  if (!picture_ || width <= 0 || height <= 0) return;
  snapshot->push_clip(Gdk::Rectangle(0, 0, width, height));
  snapshot->append_texture(
      picture_, Gdk::Rectangle(0, 0, RenderLoop::kSurfaceWidth, RenderLoop::kSurfaceHeight));
  snapshot->pop();
}

void VectorView::on_realize() {
  Gtk::Widget::on_realize();
  create_display();
}

void VectorView::on_unrealize() {
  destroy_display();
  Gtk::Widget::on_unrealize();
}

void VectorView::create_display() { loop_.create_display(); }

void VectorView::destroy_display() {
  loop_.destroy_display();
  picture_.reset();
}

RenderStatus VectorView::render_to(cairo_t* cr) {
  auto drawing = loop_.lock_drawing();
  data_.target = cr;
  RenderStatus status = render_document(data_);
  data_.target = nullptr;
  return status;
}

void VectorView::redraw() {
  RenderOutcome outcome;
  if (!loop_.take_redraw(outcome)) return;  // withdrawn, or already taken
  if (CairoSurfacePtr front = loop_.front_surface())
    picture_ = texture_from_surface(std::move(front));
  if (outcome.path == status_.path && outcome.kind == status_.kind) {
    status_.rendering = false;
    status_.status = outcome.status;
    update_status();
  }
  queue_draw();
}

void VectorView::open() {
  Gtk::Window* parent = window();
  if (!parent) return;
  file_dialog_.request(*parent, FileRequestUse::Open, data_.drawer, data_.file_name,
                       [this](const std::string& path) {
                         set_busy(true);
                         load(path);
                         set_busy(false);
                       });
}

void VectorView::load(const std::string& path) {
  data_.path = path;
  data_.kind = detect_document_kind(path);
  status_ = ViewStatusInput{};
  status_.path = path;
  status_.kind = data_.kind;
  status_.readable = data_.kind != DocumentKind::Rejected || file_unreadable_reason(path).empty();
  status_.rendering = document_kind_is_drawn(data_.kind);
  update_status();
  loop_.request(data_.path, data_.kind);
}

void VectorView::save(ExportFormat format) {
  Gtk::Window* parent = window();
  if (!parent) return;
  file_dialog_.request(*parent, save_use(format), data_.drawer, data_.file_name,
                       [this, format](const std::string& path) { export_to(format, path); });
}

void VectorView::export_to(ExportFormat format, const std::string& output_path) {
  set_busy(true);
  ExportResult result;
  {
    // Never draws while the render thread draws the display.
    auto drawing = loop_.lock_drawing();
    result = export_document(data_, format, output_path);
  }
  set_busy(false);
  if (!result.written) {
    show_export_error(output_path,
                      result.message.empty() ? "the file could not be written" : result.message);
    return;
  }
  update_status("saved " + output_path);
}

void VectorView::show_export_error(const std::string& output_path, const std::string& reason) {
  Gtk::Window* parent = window();
  if (!parent) return;
  error_dialog_ =
      std::make_unique<Gtk::MessageDialog>(*parent, "Could not save \"" + output_path + "\"", false,
                                           Gtk::MessageType::ERROR, Gtk::ButtonsType::OK, true);
  error_dialog_->set_title("Plotmira");
  error_dialog_->set_hide_on_close(true);
  error_dialog_->set_secondary_text(reason + ". Nothing was written.");
  error_dialog_->signal_response().connect([this](int) { error_dialog_->hide(); });
  error_dialog_->show();
}

void VectorView::set_busy(bool busy) {
  Gtk::Window* parent = window();
  if (!parent) return;
  parent->set_cursor(busy ? Glib::ustring("wait") : Glib::ustring());
  // The work that follows runs in this thread, so show the pointer now.
  if (auto display = parent->get_display()) display->flush();
}

void VectorView::update_status(const std::string& note) {
  status_text_ = view_status_text(status_);
  if (!note.empty()) status_text_ += " \u2014 " + note;
  status_changed_.emit(status_text_);
}

Gtk::Window* VectorView::window() { return dynamic_cast<Gtk::Window*>(get_root()); }
