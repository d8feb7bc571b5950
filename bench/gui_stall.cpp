// How long the viewer's main loop goes without running while its render
// thread draws a large WMF. The GUI side does what the view does: detects the
// kind, requests the render, and on the handed-over redraw wraps the picture
// in the bytes of a texture. A 1 ms timeout source on the main loop records the
// longest gap between its runs; "render_ms" is what the stall would be if the
// render ran on the GUI thread, "gui_work_ms" the longest the GUI thread itself
// spent in the view's work (detection and request, or taking a redraw), and
// "gui_work_cpu_ms" the processor time of that work. On a loaded machine the
// wall-clock figures also hold the time the scheduler kept the main thread
// waiting.

#include <benchmark/benchmark.h>
#include <glibmm.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/detect.h"
#include "gui/render_loop.h"

namespace {

using Clock = std::chrono::steady_clock;

// CPU time of the calling thread: the GUI's own work, without the time a
// busy machine keeps the thread off the processor.
double thread_cpu_ms() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

class WmfWriter {
 public:
  void u16(unsigned v) {
    bytes_.push_back(static_cast<std::uint8_t>(v & 0xFF));
    bytes_.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
  }
  void u32(std::uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  }
  void record(unsigned function, const std::vector<unsigned>& params) {
    u32(static_cast<std::uint32_t>(3 + params.size()));
    u16(function);
    for (unsigned p : params) u16(p);
    largest_ = std::max<std::size_t>(largest_, 3 + params.size());
  }
  std::vector<std::uint8_t>& bytes() { return bytes_; }
  std::size_t largest() const { return largest_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t largest_ = 0;
};

// A 10000 x 10000 unit drawing of `count` filled, outlined stars.
std::string write_heavy_wmf(int count) {
  WmfWriter records;
  records.record(0x020C, {10000, 10000});  // SETWINDOWEXT
  // Each object is selected after it is made and each brush deleted after
  // use, so that players with or without an object table draw the same.
  records.record(0x02FA, {0, 8, 0, 0x2020, 0x80});  // CREATEPENINDIRECT: object 0
  records.record(0x012D, {0});                      // SELECTOBJECT
  for (int i = 0; i < count; ++i) {
    unsigned red = (i * 37) % 256, green = (i * 91) % 256, blue = (i * 53) % 256;
    records.record(0x02FC, {0, red | (green << 8), blue, 0});  // CREATEBRUSHINDIRECT: object 1
    records.record(0x012D, {1});
    long long n = i;
    double cx = 500 + (n * 7919) % 9000, cy = 500 + (n * 104729) % 9000;
    double radius = 150 + (i % 7) * 60;
    std::vector<unsigned> params{24};
    for (int k = 0; k < 24; ++k) {
      double angle = k * 3.14159265358979 / 12;
      double r = k % 2 ? radius * 0.45 : radius;
      params.push_back(static_cast<unsigned>(std::lround(cx + r * std::cos(angle))) & 0xFFFF);
      params.push_back(static_cast<unsigned>(std::lround(cy + r * std::sin(angle))) & 0xFFFF);
    }
    records.record(0x0324, params);  // POLYGON
    records.record(0x01F0, {1});     // DELETEOBJECT
  }
  records.record(0x0000, {});  // EOF

  WmfWriter file;
  unsigned words[10] = {0xCDD7, 0x9AC6, 0, 0, 0, 10000, 10000, 1440, 0, 0};
  unsigned checksum = 0;
  for (unsigned w : words) {
    file.u16(w);
    checksum ^= w;
  }
  file.u16(checksum);
  file.u16(1);  // header: type, size in words, version
  file.u16(9);
  file.u16(0x0300);
  file.u32(static_cast<std::uint32_t>(9 + records.bytes().size() / 2));
  file.u16(2);  // objects
  file.u32(static_cast<std::uint32_t>(records.largest()));
  file.u16(0);
  file.bytes().insert(file.bytes().end(), records.bytes().begin(), records.bytes().end());

  std::string path = "/tmp/plotmira_gui_stall_" + std::to_string(count) + ".wmf";
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.bytes().data()),
            static_cast<std::streamsize>(file.bytes().size()));
  return path;
}

void BM_GuiStallDuringRender(benchmark::State& state) {
  Glib::init();
  std::string path = write_heavy_wmf(static_cast<int>(state.range(0)));
  auto context = Glib::MainContext::get_default();
  auto loop = Glib::MainLoop::create(context);
  Glib::Dispatcher redraw;
  RenderLoop renderer([&redraw] { redraw.emit(); });
  renderer.create_display();
  renderer.set_size(RenderLoop::kSurfaceWidth, RenderLoop::kSurfaceHeight);

  RenderOutcome outcome;
  Glib::RefPtr<Glib::Bytes> shown;  // the picture the view would show
  Clock::duration gui_work{};
  double gui_cpu_ms = 0;
  redraw.connect([&] {
    Clock::time_point begin = Clock::now();
    double cpu_begin = thread_cpu_ms();
    if (!renderer.take_redraw(outcome)) return;
    // As the view does: the texture shares the front surface's pixels.
    cairo_surface_t* front = renderer.front_surface().release();
    gsize size = static_cast<gsize>(cairo_image_surface_get_stride(front)) *
                 static_cast<gsize>(cairo_image_surface_get_height(front));
    shown = Glib::wrap(g_bytes_new_with_free_func(
        cairo_image_surface_get_data(front), size,
        [](gpointer s) { cairo_surface_destroy(static_cast<cairo_surface_t*>(s)); }, front));
    gui_work = std::max(gui_work, Clock::now() - begin);
    gui_cpu_ms = std::max(gui_cpu_ms, thread_cpu_ms() - cpu_begin);
    loop->quit();
  });

  Clock::time_point last;
  Clock::duration longest{};
  auto tick = Glib::signal_timeout().connect(
      [&] {
        Clock::time_point now = Clock::now();
        longest = std::max(longest, now - last);
        last = now;
        return true;
      },
      1);

  double worst_stall_ms = 0, render_ms = 0;
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    double cpu_start = thread_cpu_ms();
    last = start;
    longest = {};
    // The GUI thread's share of a load, as the view does it.
    DocumentKind kind = detect_document_kind(path);
    renderer.request(path, kind);
    gui_work = std::max(gui_work, Clock::now() - start);
    gui_cpu_ms = std::max(gui_cpu_ms, thread_cpu_ms() - cpu_start);
    loop->run();
    Clock::time_point end = Clock::now();
    longest = std::max(longest, end - last);
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    worst_stall_ms =
        std::max(worst_stall_ms, std::chrono::duration<double, std::milli>(longest).count());
    render_ms += std::chrono::duration<double, std::milli>(end - start).count();
    if (outcome.status != RenderStatus::Ok) state.SkipWithError("the drawing was not rendered");
  }
  tick.disconnect();
  shown.reset();
  renderer.stop();
  std::remove(path.c_str());
  state.counters["max_stall_ms"] = worst_stall_ms;
  state.counters["gui_work_ms"] = std::chrono::duration<double, std::milli>(gui_work).count();
  state.counters["gui_work_cpu_ms"] = gui_cpu_ms;
  state.counters["render_ms"] = render_ms / static_cast<double>(state.iterations());
}

}  // namespace

BENCHMARK(BM_GuiStallDuringRender)
    ->Arg(5000)
    ->Arg(20000)
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
