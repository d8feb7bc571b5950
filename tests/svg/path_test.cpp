#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "svg/svg_path.h"
#include "tests/svg/recording_engine.h"

namespace {

// The replay of a path as one text, draw_path left out.
std::string replayed(const SvgPath& path) {
  RecordingEngine engine;
  EXPECT_EQ(path.replay(engine), SvgStatus::Ok);
  EXPECT_FALSE(engine.calls.empty());
  EXPECT_EQ(engine.calls.back(), "draw_path");
  engine.calls.pop_back();
  return engine.joined();
}

struct DataCase {
  const char* text;
  SvgStatus status;
  const char* calls;
};

TEST(SvgPathParseData, ReadsEveryCommandAsAbsoluteSegments) {
  const DataCase cases[] = {
      {"", SvgStatus::Ok, ""},
      {"M10 20L30 40", SvgStatus::Ok, "path_move_to 10 20\npath_line_to 30 40"},
      {"M10,20 L30,40", SvgStatus::Ok, "path_move_to 10 20\npath_line_to 30 40"},
      {" M 10 , 20 L 30 , 40 ", SvgStatus::Ok, "path_move_to 10 20\npath_line_to 30 40"},
      {"M0 0 10 10 20 0", SvgStatus::Ok, "path_move_to 0 0\npath_line_to 10 10\npath_line_to 20 0"},
      {"m5 5 10 0", SvgStatus::Ok, "path_move_to 5 5\npath_line_to 15 5"},
      {"M1 1 m2 2 l1 0", SvgStatus::Ok, "path_move_to 1 1\npath_move_to 3 3\npath_line_to 4 3"},
      {"M1.5.5", SvgStatus::Ok, "path_move_to 1.5 0.5"},
      {"M10-5", SvgStatus::Ok, "path_move_to 10 -5"},
      {"M0 0 L10", SvgStatus::Ok, "path_move_to 0 0"},
      {"M0 0,L10 10", SvgStatus::Ok, "path_move_to 0 0\npath_line_to 10 10"},
      {"L5 5", SvgStatus::Ok, "path_line_to 5 5"},  // no moveto needed
      {"l5 5", SvgStatus::Ok, "path_line_to 5 5"},  // relative to (0, 0)
      {"M1 2 H5 h1 V7 v-1", SvgStatus::Ok,
       "path_move_to 1 2\npath_line_to 5 2\npath_line_to 6 2\npath_line_to 6 7\n"
       "path_line_to 6 6"},
      {"M1 1 h1 2 3", SvgStatus::Ok,
       "path_move_to 1 1\npath_line_to 2 1\npath_line_to 4 1\npath_line_to 7 1"},
      {"M1 1 c1 0 2 1 3 3", SvgStatus::Ok, "path_move_to 1 1\npath_curve_to 2 1 3 2 4 4"},
      {"M0 0 C10 0 20 10 20 20 S 30 40 40 40", SvgStatus::Ok,
       "path_move_to 0 0\npath_curve_to 10 0 20 10 20 20\npath_curve_to 20 30 30 40 40 40"},
      {"M0 0 L10 0 S20 10 30 0", SvgStatus::Ok,
       "path_move_to 0 0\npath_line_to 10 0\npath_curve_to 10 0 20 10 30 0"},
      {"M0 0 C0 0 5 5 10 10 s5 0 10 0", SvgStatus::Ok,  // reflection not offset
       "path_move_to 0 0\npath_curve_to 0 0 5 5 10 10\npath_curve_to 15 15 15 10 20 10"},
      {"M0 0 Q5 5 10 0 T20 0", SvgStatus::Ok,
       "path_move_to 0 0\npath_quad_to 5 5 10 0\npath_quad_to 15 -5 20 0"},
      {"M1 1 q1 1 2 0 t2 0", SvgStatus::Ok,
       "path_move_to 1 1\npath_quad_to 2 2 3 1\npath_quad_to 4 0 5 1"},
      {"M1 1 T5 5", SvgStatus::Ok, "path_move_to 1 1\npath_quad_to 1 1 5 5"},
      {"M0 0 Q1 1 2 2 C3 3 4 4 5 5 T9 9", SvgStatus::Ok,  // T after C: no reflection
       "path_move_to 0 0\npath_quad_to 1 1 2 2\npath_curve_to 3 3 4 4 5 5\n"
       "path_quad_to 5 5 9 9"},
      {"A5 5 0 0.9 1 10 10", SvgStatus::Ok, "path_arc_to 5 5 0 0 1 10 10"},
      {"M2 3 a4 5 30 1 0 10 10", SvgStatus::Ok, "path_move_to 2 3\npath_arc_to 4 5 30 1 0 12 13"},
      {"M0 0 A1 1 0 0 1 2 2 1 1 0 1 0 4 4", SvgStatus::Ok,
       "path_move_to 0 0\npath_arc_to 1 1 0 0 1 2 2\npath_arc_to 1 1 0 1 0 4 4"},
      {"M0 0 A1 1 0 1e20 -7 5 5", SvgStatus::Ok,  // flags saturate, never overflow
       "path_move_to 0 0\npath_arc_to 1 1 0 2147483647 -7 5 5"},
      {"M1 1 L5 5 Z l1 0 z", SvgStatus::Ok,
       "path_move_to 1 1\npath_line_to 5 5\npath_close\npath_line_to 2 1\npath_close"},
      {"M0 0 L10 10 Z 5 5", SvgStatus::Malformed,
       "path_move_to 0 0\npath_line_to 10 10\npath_close"},
      {"M0 0 X5", SvgStatus::Malformed, "path_move_to 0 0"},
      {",M0 0", SvgStatus::Malformed, ""},
      {"10 10", SvgStatus::Malformed, ""},
      {"M0 0 L 1 x", SvgStatus::Malformed, "path_move_to 0 0"},
  };
  for (const DataCase& c : cases) {
    SvgPath path;
    EXPECT_EQ(path.parse_data(c.text), c.status) << c.text;
    if (std::string(c.calls).empty()) {
      EXPECT_TRUE(path.empty()) << c.text;
    } else {
      EXPECT_EQ(replayed(path), c.calls) << c.text;
    }
  }
}

struct PointsCase {
  const char* text;
  bool close;
  SvgStatus status;
  const char* calls;
};

TEST(SvgPathParsePoints, BuildsPolylinesAndPolygons) {
  const PointsCase cases[] = {
      {"0,0 10,0 10,10", false, SvgStatus::Ok,
       "path_move_to 0 0\npath_line_to 10 0\npath_line_to 10 10"},
      {"0,0 10,0 10,10", true, SvgStatus::Ok,
       "path_move_to 0 0\npath_line_to 10 0\npath_line_to 10 10\npath_close"},
      {" 1 2 3 4 ", true, SvgStatus::Ok, "path_move_to 1 2\npath_line_to 3 4\npath_close"},
      {"0,0 10", true, SvgStatus::Malformed, "path_move_to 0 0"},  // no close on failure
      {"0,0,", false, SvgStatus::Malformed, "path_move_to 0 0"},
      {"0,0 a", false, SvgStatus::Malformed, "path_move_to 0 0"},
      {"", true, SvgStatus::Ok, "path_close"},
  };
  for (const PointsCase& c : cases) {
    SvgPath path;
    EXPECT_EQ(path.parse_points(c.text, c.close), c.status) << c.text;
    EXPECT_EQ(replayed(path), c.calls) << c.text;
  }
}

TEST(SvgPathBuilder, KeepsCurrentPointSubpathStartAndReflections) {
  SvgPath path;
  ASSERT_EQ(path.move_to(1, 2), SvgStatus::Ok);
  ASSERT_EQ(path.curve_to(0, 0, 3, 4, 5, 6), SvgStatus::Ok);
  EXPECT_EQ(path.cubic_reflection_x, 7);
  EXPECT_EQ(path.cubic_reflection_y, 8);
  ASSERT_EQ(path.quad_to(4, 4, 6, 6), SvgStatus::Ok);
  EXPECT_EQ(path.quad_reflection_x, 8);
  EXPECT_EQ(path.quad_reflection_y, 8);
  EXPECT_EQ(path.last_command, static_cast<int32_t>(SvgPathCommand::QuadTo));
  ASSERT_EQ(path.close(), SvgStatus::Ok);
  EXPECT_EQ(path.current_x, 1);
  EXPECT_EQ(path.current_y, 2);
  EXPECT_EQ(path.last_command, static_cast<int32_t>(SvgPathCommand::Close));
}

TEST(SvgPathBlocks, KeepEachCommandsNumbersInOneBlock) {
  // Arcs carry 7 numbers: 9 fit in a block of 64, the 10th starts a new one.
  SvgPath path;
  std::string expected;
  for (int i = 0; i < 20; ++i) {
    ASSERT_EQ(path.arc_to(i, i + 1, 0, i % 2, 1, i + 2, i + 3), SvgStatus::Ok);
    if (i > 0) expected += '\n';
    RecordingEngine format;
    format.path_arc_to(i, i + 1, 0, i % 2, 1, i + 2, i + 3);
    expected += format.calls[0];
  }
  EXPECT_EQ(path.numbers->count, 63);
  ASSERT_NE(path.numbers->next, nullptr);
  EXPECT_EQ(path.numbers->next->previous, path.numbers);
  EXPECT_EQ(replayed(path), expected);

  // 200 commands fill four command blocks in order.
  SvgPath lines;
  for (int i = 0; i < 200; ++i) ASSERT_EQ(lines.line_to(i, -i), SvgStatus::Ok);
  int blocks = 0;
  for (const SvgPathCommandBlock* b = lines.commands; b != nullptr; b = b->next) ++blocks;
  EXPECT_EQ(blocks, 4);
  EXPECT_EQ(lines.commands_last->count, 200 - 3 * kSvgPathBlockSize);
  RecordingEngine engine;
  ASSERT_EQ(lines.replay(engine), SvgStatus::Ok);
  ASSERT_EQ(engine.calls.size(), 201u);
  EXPECT_EQ(engine.calls[199], "path_line_to 199 -199");
}

TEST(SvgPathReplay, StopsAtTheFirstFailingSlot) {
  SvgPath path;
  ASSERT_EQ(path.parse_data("M0 0 L1 1 L2 2 Z"), SvgStatus::Ok);
  RecordingEngine engine;
  engine.fail_slot("path_line_to", SvgStatus::OutOfMemory);
  EXPECT_EQ(path.replay(engine), SvgStatus::OutOfMemory);
  EXPECT_EQ(engine.joined(), "path_move_to 0 0\npath_line_to 1 1");

  RecordingEngine failing_draw;
  failing_draw.fail_slot("draw_path", SvgStatus::Malformed);
  EXPECT_EQ(path.replay(failing_draw), SvgStatus::Malformed);
  EXPECT_EQ(failing_draw.calls.size(), 5u);

  SvgPath empty;
  RecordingEngine only_draw;
  EXPECT_EQ(empty.replay(only_draw), SvgStatus::Ok);
  EXPECT_EQ(only_draw.joined(), "draw_path");
}

TEST(SvgPathCopy, ReplaysTheSourceIntoAnEmptiedDestination) {
  SvgPath source;
  ASSERT_EQ(source.parse_data("M1 2 C3 4 5 6 7 8 Q1 1 2 2 A1 2 3 1 0 4 5 z"), SvgStatus::Ok);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(source.line_to(i, i), SvgStatus::Ok);
  SvgPath destination;
  ASSERT_EQ(destination.parse_data("M9 9 L8 8"), SvgStatus::Ok);
  ASSERT_EQ(SvgPath::copy(destination, source), SvgStatus::Ok);
  EXPECT_EQ(replayed(destination), replayed(source));
  EXPECT_EQ(destination.current_x, source.current_x);
  EXPECT_EQ(destination.last_command, source.last_command);

  ASSERT_EQ(SvgPath::copy(destination, SvgPath{}), SvgStatus::Ok);
  EXPECT_TRUE(destination.empty());
}

TEST(SvgPathMove, TransfersTheBlocks) {
  SvgPath source;
  ASSERT_EQ(source.parse_data("M1 2 L3 4"), SvgStatus::Ok);
  SvgPath moved(std::move(source));
  EXPECT_TRUE(source.empty());
  EXPECT_EQ(replayed(moved), "path_move_to 1 2\npath_line_to 3 4");
  SvgPath assigned;
  ASSERT_EQ(assigned.parse_data("M5 5"), SvgStatus::Ok);
  assigned = std::move(moved);
  EXPECT_EQ(replayed(assigned), "path_move_to 1 2\npath_line_to 3 4");
}

}  // namespace
