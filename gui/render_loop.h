#pragma once
// The view's render thread and the requests it serves, free of any toolkit so
// that it can be driven without a display.
//
// The GUI thread asks for a document with request(); the thread clears its
// back surface, renders the latest path and kind at the view's size at that
// moment, swaps the result to the front and tells the GUI through the notify
// function (called on the render thread; it must only hand the news over to
// the main loop). The GUI then takes the redraw with take_redraw() and shows
// the front surface it gets from front_surface(). Requests that arrive during a render are
// served by one render of the latest document; a request waits until a
// display exists and the view has a non-zero size.

#include <cairo.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "app/cairo_handles.h"
#include "app/document_kind.h"
#include "app/render_status.h"
#include "app/renderer_data.h"

struct RenderOutcome {
  std::string path;
  DocumentKind kind = DocumentKind::Unrecognised;
  RenderStatus status = RenderStatus::Ok;
  std::int32_t width = 0;  // the size the drawing was fitted to
  std::int32_t height = 0;
};

class RenderLoop {
 public:
  using RenderFunction = std::function<RenderStatus(RendererData&)>;
  using NotifyFunction = std::function<void()>;

  static constexpr int kSurfaceWidth = 1280;
  static constexpr int kSurfaceHeight = 1024;
  // The longest the thread sleeps between looks at its flags.
  static constexpr std::chrono::milliseconds kPass{140};

  explicit RenderLoop(NotifyFunction notify, RenderFunction render = {});
  ~RenderLoop();
  RenderLoop(const RenderLoop&) = delete;
  RenderLoop& operator=(const RenderLoop&) = delete;

  // GUI side.
  void request(const std::string& path, DocumentKind kind);
  // The size of the view's last draw, clamped to the surface.
  void set_size(int width, int height);
  // Creates the front and back surfaces (both cleared). A document already
  // requested or shown is drawn again onto the new surfaces.
  bool create_display();
  void destroy_display();
  bool has_display() const;
  // A reference to the front surface (cairo's ARGB32, premultiplied), for
  // toolkits that keep the picture beyond the call. The loop never draws into
  // a surface while anyone else holds a reference to it, so the pixels stay
  // as they are. Null when there is no display.
  CairoSurfacePtr front_surface() const;
  // The redraw the thread handed over, at most once per finished render.
  bool take_redraw(RenderOutcome& outcome);
  // Held by every render of the display; an export holds it too, so that the
  // two never draw at the same time.
  std::unique_lock<std::mutex> lock_drawing() { return std::unique_lock<std::mutex>(draw_mutex_); }
  // Ends the thread after its current pass and withdraws a redraw it has
  // handed over but the GUI has not taken. Called by the destructor.
  void stop();

 private:
  void run();
  bool ready() const;  // state_mutex_ held

  NotifyFunction notify_;
  RenderFunction render_;

  mutable std::mutex state_mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  bool requested_ = false;
  std::string path_;
  DocumentKind kind_ = DocumentKind::Unrecognised;
  int width_ = 0;
  int height_ = 0;
  CairoSurfacePtr front_;
  CairoSurfacePtr back_;
  std::uint64_t display_generation_ = 0;
  bool redraw_pending_ = false;
  RenderOutcome outcome_;

  std::mutex draw_mutex_;
  RendererData record_;  // the render thread's own record: used only under draw_mutex_

  std::thread thread_;
};
