#include "gui/render_loop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// What one call of the render function saw.
struct RenderCall {
  std::string path;
  DocumentKind kind;
  int width;
  int height;
  bool has_target;
};

// A render function that records its calls and can be held inside a render
// until the test lets it go.
class FakeRenderer {
 public:
  RenderStatus render(RendererData& data) {
    std::unique_lock<std::mutex> lock(mutex_);
    calls_.push_back({data.path, data.kind, data.width, data.height, data.target != nullptr});
    in_render_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return !hold_; });
    if (paint_red_ && data.target) {
      cairo_set_source_rgb(data.target, 1, 0, 0);
      cairo_paint(data.target);
    }
    in_render_ = false;
    ++finished_;
    changed_.notify_all();
    return RenderStatus::Ok;
  }
  RenderLoop::RenderFunction function() {
    return [this](RendererData& data) { return render(data); };
  }

  void hold() {
    std::lock_guard<std::mutex> lock(mutex_);
    hold_ = true;
  }
  void release() {
    std::lock_guard<std::mutex> lock(mutex_);
    hold_ = false;
    changed_.notify_all();
  }
  void set_paint_red(bool red) {
    std::lock_guard<std::mutex> lock(mutex_);
    paint_red_ = red;
  }
  bool wait_in_render() {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, 10s, [this] { return in_render_; });
  }
  bool wait_finished(int count) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, 10s, [&] { return finished_ >= count; });
  }
  bool in_render() {
    std::lock_guard<std::mutex> lock(mutex_);
    return in_render_;
  }
  std::vector<RenderCall> calls() {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<RenderCall> calls_;
  bool hold_ = false;
  bool in_render_ = false;
  bool paint_red_ = false;
  int finished_ = 0;
};

// Counts the redraws the loop hands to the (here imaginary) main loop.
class RedrawCounter {
 public:
  RenderLoop::NotifyFunction function() {
    return [this] {
      std::lock_guard<std::mutex> lock(mutex_);
      ++count_;
      changed_.notify_all();
    };
  }
  bool wait(int count) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, 10s, [&] { return count_ >= count; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int count_ = 0;
};

// A pixel of the picture on show, as cairo's premultiplied ARGB.
std::uint32_t pixel_at(const RenderLoop& loop, int x, int y) {
  CairoSurfacePtr front = loop.front_surface();
  EXPECT_TRUE(front);
  if (!front) return 0;
  const unsigned char* row =
      cairo_image_surface_get_data(front.get()) + y * cairo_image_surface_get_stride(front.get());
  std::uint32_t value;
  std::memcpy(&value, row + 4 * x, sizeof value);
  return value;
}

TEST(RenderLoopTest, HoldsARequestUntilDisplayAndSizeExist) {
  FakeRenderer renderer;
  RedrawCounter redraws;
  RenderLoop loop(redraws.function(), renderer.function());

  // Requested before the window is up, like the file on the command line.
  loop.request("first.wmf", DocumentKind::Wmf);
  loop.create_display();
  loop.set_size(0, 480);
  std::this_thread::sleep_for(2 * RenderLoop::kPass + 50ms);
  EXPECT_TRUE(renderer.calls().empty()) << "rendered without a size";

  loop.set_size(640, 480);
  ASSERT_TRUE(redraws.wait(1));
  std::vector<RenderCall> calls = renderer.calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].path, "first.wmf");
  EXPECT_EQ(calls[0].kind, DocumentKind::Wmf);
  EXPECT_EQ(calls[0].width, 640);
  EXPECT_EQ(calls[0].height, 480);
  EXPECT_TRUE(calls[0].has_target);

  RenderOutcome outcome;
  ASSERT_TRUE(loop.take_redraw(outcome));
  EXPECT_EQ(outcome.path, "first.wmf");
  EXPECT_EQ(outcome.status, RenderStatus::Ok);
  EXPECT_FALSE(loop.take_redraw(outcome)) << "one redraw per render";
}

TEST(RenderLoopTest, RequestsDuringARenderAreServedByOneRenderOfTheLatest) {
  FakeRenderer renderer;
  RedrawCounter redraws;
  RenderLoop loop(redraws.function(), renderer.function());
  loop.create_display();
  loop.set_size(2000, 3000);  // larger than the surface: clamped

  renderer.hold();
  loop.request("a.wmf", DocumentKind::Wmf);
  ASSERT_TRUE(renderer.wait_in_render());
  loop.request("b.svg", DocumentKind::Svg);
  loop.request("c.dr2d", DocumentKind::Dr2d);
  loop.request("d.wmf", DocumentKind::Wmf);
  renderer.release();

  ASSERT_TRUE(renderer.wait_finished(2));
  ASSERT_TRUE(redraws.wait(2));
  std::this_thread::sleep_for(2 * RenderLoop::kPass);
  std::vector<RenderCall> calls = renderer.calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].path, "a.wmf");
  EXPECT_EQ(calls[1].path, "d.wmf");
  EXPECT_EQ(calls[1].kind, DocumentKind::Wmf);
  EXPECT_EQ(calls[1].width, RenderLoop::kSurfaceWidth);
  EXPECT_EQ(calls[1].height, RenderLoop::kSurfaceHeight);

  RenderOutcome outcome;
  ASSERT_TRUE(loop.take_redraw(outcome));
  EXPECT_EQ(outcome.path, "d.wmf");
}

// A loop with its display, at a size that fits the surface.
class ShownRenderLoopTest : public ::testing::Test {
 protected:
  ShownRenderLoopTest() {
    loop.create_display();
    loop.set_size(320, 240);
  }

  FakeRenderer renderer;
  RedrawCounter redraws;
  RenderLoop loop{redraws.function(), renderer.function()};
};

TEST_F(ShownRenderLoopTest, EachRenderStartsFromAClearSurface) {
  renderer.set_paint_red(true);
  loop.request("red.wmf", DocumentKind::Wmf);
  ASSERT_TRUE(redraws.wait(1));
  EXPECT_EQ(pixel_at(loop, 10, 10), 0xFFFF0000u);

  // A document that draws nothing leaves nothing of the previous picture.
  renderer.set_paint_red(false);
  loop.request("notes.rtf", DocumentKind::Rtf);
  ASSERT_TRUE(redraws.wait(2));
  EXPECT_EQ(pixel_at(loop, 10, 10), 0u);
}

TEST_F(ShownRenderLoopTest, APictureHandedOutIsNeverDrawnInto) {
  renderer.set_paint_red(true);
  loop.request("red.wmf", DocumentKind::Wmf);
  ASSERT_TRUE(redraws.wait(1));
  CairoSurfacePtr shown = loop.front_surface();  // as a texture on screen holds it
  ASSERT_TRUE(shown);

  // Two more renders: the first goes to the other surface, the second would
  // reuse the one still shown unless the loop leaves it alone.
  renderer.set_paint_red(false);
  loop.request("empty.rtf", DocumentKind::Rtf);
  ASSERT_TRUE(redraws.wait(2));
  loop.request("empty2.rtf", DocumentKind::Rtf);
  ASSERT_TRUE(redraws.wait(3));

  std::uint32_t held;
  std::memcpy(&held, cairo_image_surface_get_data(shown.get()), sizeof held);
  EXPECT_EQ(held, 0xFFFF0000u) << "the shown picture was drawn over";
  EXPECT_EQ(pixel_at(loop, 0, 0), 0u);
}

TEST_F(ShownRenderLoopTest, StopWaitsForTheCurrentPassAndWithdrawsItsRedraw) {
  renderer.hold();
  loop.request("big.wmf", DocumentKind::Wmf);
  ASSERT_TRUE(renderer.wait_in_render());
  loop.request("next.wmf", DocumentKind::Wmf);  // never served

  std::atomic<bool> stopped{false};
  std::thread stopper([&] {
    loop.stop();
    stopped = true;
  });
  std::this_thread::sleep_for(RenderLoop::kPass);
  EXPECT_FALSE(stopped) << "stop returned while a render was running";
  renderer.release();
  stopper.join();

  EXPECT_TRUE(stopped);
  EXPECT_FALSE(renderer.in_render());
  RenderOutcome outcome;
  EXPECT_FALSE(loop.take_redraw(outcome)) << "the redraw of the last pass was not withdrawn";
  EXPECT_EQ(renderer.calls().size(), 1u);
  loop.stop();  // a second stop, as the destructor does, is harmless
}

TEST(RenderLoopTest, StopEndsAnIdleLoopWithinAPass) {
  RedrawCounter redraws;
  RenderLoop loop(redraws.function(), [](RendererData&) { return RenderStatus::Ok; });
  std::this_thread::sleep_for(20ms);  // inside its wait
  auto start = std::chrono::steady_clock::now();
  loop.stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5 * RenderLoop::kPass);
}

TEST_F(ShownRenderLoopTest, AnExportAndARenderNeverDrawAtOnce) {
  // A render in progress keeps an export waiting until it has finished.
  renderer.hold();
  loop.request("a.wmf", DocumentKind::Wmf);
  ASSERT_TRUE(renderer.wait_in_render());
  std::atomic<bool> exporting{false};
  std::atomic<bool> overlapped{false};
  std::thread exporter([&] {
    auto drawing = loop.lock_drawing();
    exporting = true;
    if (renderer.in_render()) overlapped = true;
    exporting = false;
  });
  std::this_thread::sleep_for(RenderLoop::kPass);
  renderer.release();
  exporter.join();
  EXPECT_FALSE(overlapped);

  // An export in progress keeps the next render from starting.
  {
    auto drawing = loop.lock_drawing();
    loop.request("b.wmf", DocumentKind::Wmf);
    std::this_thread::sleep_for(2 * RenderLoop::kPass);
    EXPECT_EQ(renderer.calls().size(), 1u) << "a render started during an export";
  }
  ASSERT_TRUE(renderer.wait_finished(2));
  EXPECT_EQ(renderer.calls().back().path, "b.wmf");
}

TEST_F(ShownRenderLoopTest, ANewDisplayDrawsTheDocumentAgain) {
  renderer.set_paint_red(true);

  // The display goes away while its render runs: that picture is dropped.
  renderer.hold();
  loop.request("a.wmf", DocumentKind::Wmf);
  ASSERT_TRUE(renderer.wait_in_render());
  loop.destroy_display();
  EXPECT_FALSE(loop.has_display());
  renderer.release();
  ASSERT_TRUE(renderer.wait_finished(1));
  RenderOutcome outcome;
  EXPECT_FALSE(loop.take_redraw(outcome));

  ASSERT_TRUE(loop.create_display());
  ASSERT_TRUE(redraws.wait(1));
  ASSERT_TRUE(loop.take_redraw(outcome));
  EXPECT_EQ(outcome.path, "a.wmf");
  EXPECT_EQ(pixel_at(loop, 5, 5), 0xFFFF0000u);
}

}  // namespace
