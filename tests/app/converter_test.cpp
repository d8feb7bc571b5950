#include "app/converter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/cairo_handles.h"
#include "tests/app/temp_dir.h"
#include "tests/app/wmf_fixture.h"

namespace {

namespace fs = std::filesystem;

struct ArgsCase {
  std::vector<std::string> args;
  bool ok;
  ConvertMode mode = ConvertMode::Single;
  std::optional<ExportFormat> format = std::nullopt;
  int width = 640, height = 480;
};

TEST(ConvertArgs, ParseTable) {
  using F = ExportFormat;
  using M = ConvertMode;
  const ArgsCase cases[] = {
      {{"in.wmf", "out.pdf"}, true, M::Single, F::Pdf},
      {{"in.wmf", "OUT.Png"}, true, M::Single, F::Png},
      {{"in.wmf", "dir.d/out.eps"}, true, M::Single, F::Eps},
      {{"-f", "svg", "in.wmf", "out.bin"}, true, M::Single, F::Svg},
      {{"-f", "PDF", "in.wmf", "out.png"}, true, M::Single, F::Pdf},
      {{"-s", "100x50", "in.wmf", "out.png"}, true, M::Single, F::Png, 100, 50},
      {{"-s", "32767X1", "in.wmf", "out.png"}, true, M::Single, F::Png, 32767, 1},
      {{"-f", "png", "in.wmf", "-"}, true, M::Single, F::Png},
      {{"--keep-aspect", "-b", "red", "in", "o.svg"}, true, M::Single, F::Svg},
      {{"--", "-in", "out.pdf"}, true, M::Single, F::Pdf},
      {{"-f", "pdf", "-o", "dir", "a", "b"}, true, M::Batch, F::Pdf},
      {{"-o", "dir", "-f", "png", "-j", "3", "-q", "-s", "9x9", "a"}, true, M::Batch, F::Png, 9, 9},
      {{"--kind", "a", "b"}, true, M::Kind},
      {{"--kind", "-q", "a"}, true, M::Kind},
      {{"--help", "-z"}, true, M::Help},
      {{"-h"}, true, M::Help},
      {{"a", "--version"}, true, M::Version},
      // Usage errors.
      {{}, false},
      {{"in.wmf"}, false},
      {{"a", "b.pdf", "c"}, false},
      {{"in.wmf", "out"}, false},
      {{"in.wmf", "out.jpg"}, false},
      {{"in.wmf", "-"}, false},
      {{"-f", "gif", "in", "out.pdf"}, false},
      {{"-f"}, false},
      {{"-x", "in", "out.pdf"}, false},
      {{"-s", "0x480", "in", "out.pdf"}, false},
      {{"-s", "640x0", "in", "out.pdf"}, false},
      {{"-s", "-640x480", "in", "out.pdf"}, false},
      {{"-s", "+640x480", "in", "out.pdf"}, false},
      {{"-s", "640x", "in", "out.pdf"}, false},
      {{"-s", "x480", "in", "out.pdf"}, false},
      {{"-s", "640", "in", "out.pdf"}, false},
      {{"-s", "32768x480", "in", "out.pdf"}, false},
      {{"-s", "99999999999x1", "in", "out.pdf"}, false},
      {{"-s", "10x10x10", "in", "out.pdf"}, false},
      {{"-s", " 10x10", "in", "out.pdf"}, false},
      {{"-j", "2", "in", "out.pdf"}, false},
      {{"-o", "dir", "a"}, false},
      {{"-f", "pdf", "-o", "dir"}, false},
      {{"-f", "pdf", "-o", "dir", "-j", "0", "a"}, false},
      {{"-f", "pdf", "-o", "dir", "-j", "x", "a"}, false},
      {{"--kind"}, false},
      {{"--kind", "-f", "pdf", "a"}, false},
      {{"-b", "nocolour", "in", "out.png"}, false},
      {{"-b", "#12345", "in", "out.png"}, false},
      {{"-b", "#gg0000", "in", "out.png"}, false},
      {{"-b", "currentColor", "in", "out.png"}, false},
  };
  for (const ArgsCase& c : cases) {
    std::string line;
    for (const std::string& a : c.args) line += "'" + a + "' ";
    SCOPED_TRACE(line);
    const ConvertArgs parsed = convert_parse_args(c.args);
    ASSERT_EQ(parsed.ok, c.ok) << parsed.error;
    if (!c.ok) {
      EXPECT_FALSE(parsed.error.empty());
      continue;
    }
    EXPECT_EQ(parsed.options.mode, c.mode);
    if (c.mode == M::Single || c.mode == M::Batch) {
      EXPECT_EQ(parsed.options.format, c.format);
      EXPECT_EQ(parsed.options.width, c.width);
      EXPECT_EQ(parsed.options.height, c.height);
    }
  }
}

TEST(ConvertArgs, OperandsAndFlagsLandInTheirFields) {
  const ConvertArgs batch = convert_parse_args(
      {"-f", "png", "-j", "3", "-q", "--keep-aspect", "-o", "out", "a.wmf", "-", "b.wmf"});
  ASSERT_TRUE(batch.ok) << batch.error;
  EXPECT_EQ(batch.options.output_dir, "out");
  EXPECT_EQ(batch.options.jobs, 3u);
  EXPECT_TRUE(batch.options.quiet);
  EXPECT_TRUE(batch.options.keep_aspect);
  EXPECT_EQ(batch.options.inputs, (std::vector<std::string>{"a.wmf", "-", "b.wmf"}));

  const ConvertArgs single = convert_parse_args({"--", "-a.wmf", "-b.pdf"});
  ASSERT_TRUE(single.ok) << single.error;
  EXPECT_EQ(single.options.inputs, std::vector<std::string>{"-a.wmf"});
  EXPECT_EQ(single.options.output, "-b.pdf");
}

TEST(ConvertArgs, Colours) {
  struct Case {
    const char* text;
    double red, green, blue;
  };
  const Case cases[] = {
      {"red", 1, 0, 0},
      {"NavY", 0, 0, 128 / 255.0},
      {"#00ff80", 0, 1, 128 / 255.0},
      {"#0F0", 0, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ExportColor color;
    ASSERT_TRUE(convert_parse_color(c.text, color));
    EXPECT_DOUBLE_EQ(color.red, c.red);
    EXPECT_DOUBLE_EQ(color.green, c.green);
    EXPECT_DOUBLE_EQ(color.blue, c.blue);
    EXPECT_DOUBLE_EQ(color.alpha, 1);
  }
}

// Runs the converter as main would, with its streams captured.
struct ConvertOutput {
  int status;
  std::string out, err;
};

ConvertOutput convert(const std::vector<std::string>& args, bool err_is_terminal = false) {
  std::ostringstream out, err;
  ConvertIo io{out, err, err_is_terminal};
  const int status = convert_main(args, io);
  return {status, out.str(), err.str()};
}

// Inputs whose outcome does not depend on any renderer.
class ConvertRun : public ::testing::Test {
 protected:
  TempDir dir;
  std::string rtf = dir.write("letter.rtf", "{\\rtf1\\ansi hello}");
  std::string xml = dir.write("notes.xml", "<?xml version=\"1.0\"?><notes/>");
  std::string missing = dir.file("missing.wmf");
};

TEST_F(ConvertRun, KindPrintsValueNameAndPath) {
  const ConvertOutput run = convert({"--kind", rtf, missing, xml});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "3 Rtf " + rtf + "\n-1 Rejected " + missing + "\n-1 Rejected " + xml + "\n");
}

TEST_F(ConvertRun, InputsThatCannotBeDrawnWriteNothing) {
  struct Case {
    std::string input;
    std::string message;
  };
  const Case cases[] = {
      {rtf, "detected as Rtf"},
      {xml, "detected as Rejected"},
      {missing, "cannot read " + missing},
      {dir.path().string(), "is a directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    const std::string output = dir.file("out.pdf");
    const ConvertOutput run = convert({c.input, output});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(c.input), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(output));
  }
}

TEST_F(ConvertRun, UsageErrorsExitTwoWithTheUsageText) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {rtf}, {rtf, dir.file("out.gif")}, {"-s", "0x0", rtf, dir.file("o.pdf")}}) {
    const ConvertOutput run = convert(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Usage: plotmira-convert"), std::string::npos);
    EXPECT_TRUE(run.out.empty());
  }
  const ConvertOutput help = convert({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Usage: plotmira-convert"), std::string::npos);
  const ConvertOutput version = convert({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "plotmira-convert 1.35\n");
}

// Text that cannot reach standard output (a full disk, a closed pipe) is a
// failure, not a success with nothing printed.
TEST_F(ConvertRun, TextThatCannotBeWrittenFails) {
  for (const auto& args :
       std::vector<std::vector<std::string>>{{"--kind", rtf}, {"--help"}, {"--version"}}) {
    SCOPED_TRACE(args.front());
    std::ostream broken(nullptr);  // every write fails
    std::ostringstream err;
    ConvertIo io{broken, err, false};
    EXPECT_EQ(convert_main(args, io), 1);
    EXPECT_NE(err.str().find("cannot write to standard output"), std::string::npos);
  }
}

// The output is the input, however it is spelled: refused, input unchanged.
TEST_F(ConvertRun, RefusesToOverwriteTheInput) {
  const std::string input = dir.write("drawing.svg", "<svg/>");
  fs::create_directory(dir.path() / "sub");
  fs::create_symlink(input, dir.path() / "link.svg");
  for (const std::string& output : {input, dir.file("sub/../drawing.svg"), dir.file("link.svg")}) {
    SCOPED_TRACE(output);
    const ConvertOutput run = convert({input, output});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("is the INPUT"), std::string::npos) << run.err;
    EXPECT_EQ(read_file(input), "<svg/>");
  }
}

TEST_F(ConvertRun, BatchReportsEachFailureAndExitsOne) {
  const std::string out_dir = dir.file("out");
  const ConvertOutput run = convert({"-f", "png", "-j", "2", "-o", out_dir, rtf, missing, xml});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(rtf), std::string::npos);
  EXPECT_NE(run.err.find(missing), std::string::npos);
  EXPECT_NE(run.err.find(xml), std::string::npos);
  EXPECT_TRUE(fs::is_directory(out_dir));
  EXPECT_TRUE(fs::is_empty(out_dir));
  EXPECT_EQ(run.err.find("converted 1 of"), std::string::npos);  // not a terminal: no progress
}

TEST_F(ConvertRun, ProgressOnlyOnATerminalAndNotWithQuiet) {
  const std::string out_dir = dir.file("out");
  const ConvertOutput shown = convert({"-f", "pdf", "-o", out_dir, rtf, xml}, true);
  EXPECT_NE(shown.err.find("converted 2 of 2"), std::string::npos) << shown.err;
  const ConvertOutput quiet = convert({"-q", "-f", "pdf", "-o", out_dir, rtf, xml}, true);
  EXPECT_EQ(quiet.err.find("converted 1 of"), std::string::npos) << quiet.err;
}

// An output directory that cannot be used ends the batch with a message,
// whatever the file system's complaint (a file, a name beyond its limit).
TEST_F(ConvertRun, BatchOutputDirectoryThatCannotBeUsedFails) {
  for (const std::string& out_dir : {rtf, dir.file(std::string(300, 'd'))}) {
    SCOPED_TRACE(out_dir);
    const ConvertOutput run = convert({"-f", "pdf", "-o", out_dir, xml});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("output directory"), std::string::npos) << run.err;
  }
}

// ---------------------------------------------------------------------------
// Drawn end to end: these need the WMF renderer.

// A 200 x 100 drawing with its left half red.
std::string half_red_wmf() {
  WmfFixture wmf(200, 100);
  wmf.solid_brush(0x0000FF);
  wmf.rectangle(0, 0, 100, 100);
  return wmf.bytes();
}

struct Pixels {
  int width = 0, height = 0;
  CairoSurfacePtr image;
  std::uint32_t at(int x, int y) const {
    const unsigned char* data = cairo_image_surface_get_data(image.get());
    const int stride = cairo_image_surface_get_stride(image.get());
    return reinterpret_cast<const std::uint32_t*>(data + y * stride)[x];
  }
};

Pixels load_png(const std::string& path) {
  Pixels p;
  p.image.reset(cairo_image_surface_create_from_png(path.c_str()));
  if (cairo_surface_status(p.image.get()) == CAIRO_STATUS_SUCCESS) {
    p.width = cairo_image_surface_get_width(p.image.get());
    p.height = cairo_image_surface_get_height(p.image.get());
  }
  return p;
}

TEST(ConvertWmf, DrawsStretchedFittedAndOnABackground) {
  TempDir dir;
  const std::string input = dir.write("drawing.wmf", half_red_wmf());
  struct Case {
    std::vector<std::string> options;
    int width, height;
    std::uint32_t right_half;  // ARGB of the undrawn half
  };
  const Case cases[] = {
      {{}, 640, 480, 0},
      {{"-s", "60x60"}, 60, 60, 0},
      {{"-s", "60x60", "--keep-aspect"}, 60, 30, 0},
      {{"-s", "60x60", "-b", "blue"}, 60, 60, 0xFF0000FF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.options));
    std::vector<std::string> args = c.options;
    const std::string output = dir.file("out.png");
    args.push_back(input);
    args.push_back(output);
    const ConvertOutput run = convert(args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    const Pixels png = load_png(output);
    ASSERT_EQ(png.width, c.width);
    ASSERT_EQ(png.height, c.height);
    // Opaque red; the player may map 255 to 254.
    EXPECT_EQ(png.at(c.width / 4, c.height / 2) & 0xFFFEFFFFu, 0xFFFE0000u);
    EXPECT_EQ(png.at(c.width * 3 / 4, c.height / 2), c.right_half);
  }
}

TEST(ConvertWmf, BatchAndStandardOutput) {
  TempDir dir;
  const std::string a = dir.write("a.wmf", half_red_wmf());
  fs::create_directory(dir.path() / "other");
  const std::string b = dir.write("other/b.wmf", half_red_wmf());
  const std::string a_again = dir.write("other/a.wmf", half_red_wmf());
  const std::string out_dir = dir.file("out");

  const ConvertOutput batch = convert({"-f", "eps", "-o", out_dir, a, b});
  EXPECT_EQ(batch.status, 0) << batch.err;
  EXPECT_TRUE(read_file(out_dir + "/a.eps").starts_with("%!PS-Adobe-3.0 EPSF-3.0"));
  EXPECT_TRUE(read_file(out_dir + "/b.eps").starts_with("%!PS-Adobe-3.0 EPSF-3.0"));

  // Two inputs named a.wmf: the second must not overwrite the first's output.
  const ConvertOutput clash = convert({"-f", "pdf", "-j", "1", "-o", out_dir, a, a_again});
  EXPECT_EQ(clash.status, 1);
  EXPECT_NE(clash.err.find(a_again), std::string::npos) << clash.err;
  EXPECT_TRUE(fs::exists(out_dir + "/a.pdf"));

  const ConvertOutput piped = convert({"-f", "png", a, "-"});
  EXPECT_EQ(piped.status, 0) << piped.err;
  EXPECT_TRUE(piped.out.starts_with("\x89PNG\r\n\x1a\n"));
}

// An output that would land on another input is refused, whichever comes
// first on the line: the input stays as it was.
TEST(ConvertWmf, BatchNeverWritesOverAnotherInput) {
  TempDir dir;
  const std::string drawing = dir.write("a.wmf", half_red_wmf());
  fs::create_directory(dir.path() / "out");
  const std::string other_input = dir.write("out/a.pdf", "precious");
  for (const auto& inputs : {std::vector<std::string>{other_input, drawing},
                             std::vector<std::string>{drawing, other_input}}) {
    std::vector<std::string> args = {"-f", "pdf", "-j", "1", "-o", dir.file("out")};
    args.insert(args.end(), inputs.begin(), inputs.end());
    const ConvertOutput run = convert(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(drawing + ": not converted"), std::string::npos) << run.err;
    EXPECT_EQ(read_file(other_input), "precious");
  }
}

// A file cut inside its last record is drawn as far as it goes and written
// with a warning; one whose headers are broken is not written at all.
TEST(ConvertWmf, IncompleteAndBrokenFiles) {
  TempDir dir;
  const std::string whole = half_red_wmf();
  const std::string truncated = dir.write("truncated.wmf", whole.substr(0, whole.size() - 12));
  const std::string broken = dir.write("broken.wmf", whole.substr(0, 30));

  const ConvertOutput partial = convert({truncated, dir.file("truncated.png")});
  EXPECT_EQ(partial.status, 0);
  EXPECT_NE(partial.err.find("warning: " + truncated), std::string::npos) << partial.err;
  EXPECT_TRUE(fs::exists(dir.file("truncated.png")));

  const ConvertOutput failed = convert({broken, dir.file("broken.png")});
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.err.find(broken), std::string::npos) << failed.err;
  EXPECT_FALSE(fs::exists(dir.file("broken.png")));
}

}  // namespace
