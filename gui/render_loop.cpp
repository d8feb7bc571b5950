#include "gui/render_loop.h"

#include <algorithm>
#include <utility>

#include "app/render_document.h"

namespace {

CairoSurfacePtr make_cleared_surface() {
  CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, RenderLoop::kSurfaceWidth,
                                                     RenderLoop::kSurfaceHeight));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  return surface;  // image surfaces start fully transparent
}

void clear_surface(cairo_t* cr) {
  CairoSaveGuard guard(cr);
  cairo_rectangle(cr, 0, 0, RenderLoop::kSurfaceWidth, RenderLoop::kSurfaceHeight);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
}

}  // namespace

RenderLoop::RenderLoop(NotifyFunction notify, RenderFunction render)
    : notify_(std::move(notify)),
      render_(render ? std::move(render) : RenderFunction(render_document)) {
  thread_ = std::thread([this] { run(); });
}

RenderLoop::~RenderLoop() { stop(); }

void RenderLoop::request(const std::string& path, DocumentKind kind) {
  {
    std::lock_guard<std::mutex> lock(state_mutex_);
    path_ = path;
    kind_ = kind;
    requested_ = true;
  }
  wake_.notify_one();
}

void RenderLoop::set_size(int width, int height) {
  width = std::clamp(width, 0, kSurfaceWidth);
  height = std::clamp(height, 0, kSurfaceHeight);
  bool wake = false;
  {
    std::lock_guard<std::mutex> lock(state_mutex_);
    if (width == width_ && height == height_) return;
    wake = (width_ == 0 || height_ == 0) && requested_;
    width_ = width;
    height_ = height;
  }
  if (wake) wake_.notify_one();
}

bool RenderLoop::create_display() {
  CairoSurfacePtr front = make_cleared_surface();
  CairoSurfacePtr back = make_cleared_surface();
  if (!front || !back) return false;
  {
    std::lock_guard<std::mutex> lock(state_mutex_);
    front_ = std::move(front);
    back_ = std::move(back);
    ++display_generation_;
    if (!path_.empty()) requested_ = true;
  }
  wake_.notify_one();
  return true;
}

void RenderLoop::destroy_display() {
  CairoSurfacePtr front, back;
  {
    std::lock_guard<std::mutex> lock(state_mutex_);
    front = std::move(front_);
    back = std::move(back_);
    ++display_generation_;
    redraw_pending_ = false;
  }
  // A render still running holds its own reference to the old back surface.
}

bool RenderLoop::has_display() const {
  std::lock_guard<std::mutex> lock(state_mutex_);
  return front_ != nullptr;
}

CairoSurfacePtr RenderLoop::front_surface() const {
  std::lock_guard<std::mutex> lock(state_mutex_);
  if (!front_) return nullptr;
  cairo_surface_flush(front_.get());
  return CairoSurfacePtr(cairo_surface_reference(front_.get()));
}

bool RenderLoop::take_redraw(RenderOutcome& outcome) {
  std::lock_guard<std::mutex> lock(state_mutex_);
  if (!redraw_pending_) return false;
  redraw_pending_ = false;
  outcome = outcome_;
  return true;
}

void RenderLoop::stop() {
  {
    std::lock_guard<std::mutex> lock(state_mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
  std::lock_guard<std::mutex> lock(state_mutex_);
  redraw_pending_ = false;
}

bool RenderLoop::ready() const {
  return requested_ && front_ && back_ && width_ > 0 && height_ > 0;
}

void RenderLoop::run() {
  std::unique_lock<std::mutex> lock(state_mutex_);
  while (!stopping_) {
    wake_.wait_for(lock, kPass, [this] { return stopping_ || ready(); });
    if (stopping_) break;
    if (!ready()) continue;

    // A back surface still shown by the GUI (the picture before last) is
    // left to it; this render gets a fresh one.
    if (cairo_surface_get_reference_count(back_.get()) > 1) {
      CairoSurfacePtr fresh = make_cleared_surface();
      if (!fresh) {
        // No memory now: the request stays; try again a pass later.
        wake_.wait_for(lock, kPass, [this] { return stopping_; });
        continue;
      }
      back_ = std::move(fresh);
    }
    // Take the request: path and kind are copied now, so that the GUI may
    // write the next one while this render runs.
    requested_ = false;
    std::string path = path_;
    DocumentKind kind = kind_;
    int width = width_;
    int height = height_;
    std::uint64_t generation = display_generation_;
    CairoSurfacePtr surface(cairo_surface_reference(back_.get()));
    lock.unlock();

    RenderStatus status = RenderStatus::Ok;
    {
      std::lock_guard<std::mutex> drawing(draw_mutex_);
      CairoContextPtr cr(cairo_create(surface.get()));
      clear_surface(cr.get());
      record_.path = path;
      record_.kind = kind;
      record_.width = width;
      record_.height = height;
      record_.display = cr.get();
      record_.target = cr.get();
      status = render_(record_);
      record_.target = nullptr;
      record_.display = nullptr;
      cairo_surface_flush(surface.get());
    }

    lock.lock();
    if (generation != display_generation_ || back_.get() != surface.get()) continue;
    std::swap(front_, back_);
    outcome_ = RenderOutcome{path, kind, status, width, height};
    redraw_pending_ = true;
    lock.unlock();
    if (notify_) notify_();
    lock.lock();
  }
}
