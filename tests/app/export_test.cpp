#include "app/export.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/cairo_handles.h"
#include "app/eps_page_box.h"
#include "tests/app/temp_dir.h"

namespace {

namespace fs = std::filesystem;

RendererData empty_document(int width, int height) {
  RendererData data;
  data.kind = DocumentKind::Unrecognised;
  data.width = width;
  data.height = height;
  return data;
}

std::uint32_t big_endian_at(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

std::size_t count(const std::string& text, const std::string& needle) {
  std::size_t n = 0;
  for (std::size_t at = text.find(needle); at != std::string::npos;
       at = text.find(needle, at + 1)) {
    ++n;
  }
  return n;
}

std::vector<std::string> names_in(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
  return names;
}

// Each format at a size that is not the default, so that a hard-wired page
// size would show; empty, so that a box taken from the ink would show.
TEST(Export, EachFormatHasTheRecordsSize) {
  struct Case {
    ExportFormat format;
    const char* file;
    void (*check)(const std::string& bytes);
  };
  const Case cases[] = {
      {ExportFormat::Pdf, "out.pdf",
       [](const std::string& bytes) {
         EXPECT_TRUE(bytes.starts_with("%PDF-"));
         EXPECT_NE(bytes.find("/MediaBox [ 0 0 300 200 ]"), std::string::npos);
         EXPECT_EQ(count(bytes, "/Type /Page") - count(bytes, "/Type /Pages"), 1u);
       }},
      {ExportFormat::Svg, "out.svg",
       [](const std::string& bytes) {
         EXPECT_NE(bytes.find("<svg"), std::string::npos);
         EXPECT_NE(bytes.find("width=\"300pt\" height=\"200pt\""), std::string::npos);
       }},
      {ExportFormat::Eps, "out.eps",
       [](const std::string& bytes) {
         EXPECT_TRUE(bytes.starts_with("%!PS-Adobe-3.0 EPSF-3.0"));
         EXPECT_NE(bytes.find("\n%%BoundingBox: 0 0 300 200\n"), std::string::npos);
         EXPECT_NE(bytes.find("\n%%PageBoundingBox: 0 0 300 200\n"), std::string::npos);
       }},
      {ExportFormat::Png, "out.png",
       [](const std::string& bytes) {
         ASSERT_GE(bytes.size(), 24u);
         EXPECT_TRUE(bytes.starts_with("\x89PNG\r\n\x1a\n"));
         EXPECT_EQ(big_endian_at(bytes, 16), 300u);
         EXPECT_EQ(big_endian_at(bytes, 20), 200u);
       }},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    RendererData data = empty_document(300, 200);
    const ExportResult result = export_document(data, c.format, dir.file(c.file));
    EXPECT_TRUE(result.written) << result.message;
    EXPECT_EQ(result.cairo, CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(data.export_target, nullptr);
    c.check(read_file(dir.file(c.file)));
  }
  // Only the four outputs: no temporary file is left beside them.
  EXPECT_EQ(names_in(dir.path()).size(), 4u);
}

// A document that is not drawn still saves a page: empty, or a fully
// transparent image of the record's size.
TEST(Export, UndrawnKindGivesTransparentImageOfTheRecordsSize) {
  TempDir dir;
  RendererData data = empty_document(64, 48);
  data.kind = DocumentKind::Rtf;
  cairo_t* const view_target = reinterpret_cast<cairo_t*>(&data);  // any marker value
  data.target = view_target;
  const ExportResult result = export_document(data, ExportFormat::Png, dir.file("empty.png"));
  ASSERT_TRUE(result.written) << result.message;
  EXPECT_EQ(result.render, RenderStatus::NotDrawable);
  EXPECT_EQ(data.target, view_target);
  EXPECT_EQ(data.export_target, nullptr);

  CairoSurfacePtr image(cairo_image_surface_create_from_png(dir.file("empty.png").c_str()));
  ASSERT_EQ(cairo_surface_status(image.get()), CAIRO_STATUS_SUCCESS);
  ASSERT_EQ(cairo_image_surface_get_width(image.get()), 64);
  ASSERT_EQ(cairo_image_surface_get_height(image.get()), 48);
  const unsigned char* pixels = cairo_image_surface_get_data(image.get());
  const int stride = cairo_image_surface_get_stride(image.get());
  bool all_clear = true;
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64 * 4; ++x) all_clear = all_clear && pixels[y * stride + x] == 0;
  }
  EXPECT_TRUE(all_clear);
}

TEST(Export, BackgroundIsPaintedIntoTheImage) {
  TempDir dir;
  RendererData data = empty_document(8, 8);
  ExportOptions options;
  options.background = ExportColor{0, 0, 1, 1};
  ASSERT_TRUE(export_document(data, ExportFormat::Png, dir.file("blue.png"), options).written);
  CairoSurfacePtr image(cairo_image_surface_create_from_png(dir.file("blue.png").c_str()));
  ASSERT_EQ(cairo_surface_status(image.get()), CAIRO_STATUS_SUCCESS);
  const auto* pixel =
      reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(image.get()));
  EXPECT_EQ(pixel[0], 0xFF0000FFu);
  EXPECT_EQ(pixel[63], 0xFF0000FFu);
}

TEST(Export, ReplacingAFileKeepsItsPermissions) {
  TempDir dir;
  const std::string path = dir.write("old.pdf", "old contents");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  RendererData data = empty_document(10, 10);
  ASSERT_TRUE(export_document(data, ExportFormat::Pdf, path).written);
  EXPECT_TRUE(read_file(path).starts_with("%PDF-"));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(Export, ALinkIsWrittenThrough) {
  TempDir dir;
  const std::string target = dir.write("target.svg", "old");
  fs::create_symlink("target.svg", dir.path() / "link.svg");
  RendererData data = empty_document(10, 10);
  ASSERT_TRUE(export_document(data, ExportFormat::Svg, dir.file("link.svg")).written);
  EXPECT_TRUE(fs::is_symlink(dir.path() / "link.svg"));
  EXPECT_NE(read_file(target).find("<svg"), std::string::npos);
}

// The temporary file beside the output must fit the file system's name
// limit even when the output's own name is as long as that limit allows.
TEST(Export, ALongestFileNameIsWritten) {
  TempDir dir;
  const std::string name = std::string(255 - 4, 'n') + ".png";
  RendererData data = empty_document(10, 10);
  const ExportResult result = export_document(data, ExportFormat::Png, dir.file(name));
  EXPECT_TRUE(result.written) << result.message;
  EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{name});
}

// A pipe or a device (/dev/null, /dev/stdout) has no contents to keep: it is
// written in place, never replaced by a file renamed over it.
TEST(Export, APipeIsWrittenInPlace) {
  TempDir dir;
  const std::string pipe = dir.file("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  RendererData data = empty_document(10, 10);
  const ExportResult result = export_document(data, ExportFormat::Svg, pipe);
  EXPECT_TRUE(result.written) << result.message;
  struct stat st {};
  ASSERT_EQ(::stat(pipe.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the pipe was replaced";
  char head[64] = {};
  const ssize_t got = ::read(reader, head, sizeof head - 1);
  ::close(reader);
  EXPECT_GT(got, 0);
  EXPECT_NE(std::string(head).find("<?xml"), std::string::npos);
  EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"pipe"});
}

// Every way to fail leaves the folder as it was: an existing output keeps its
// contents and no temporary file remains.
TEST(Export, FailureLeavesNoFileAndKeepsTheOldOne) {
  TempDir dir;
  const std::string existing = dir.write("keep.png", "precious");
  fs::create_directory(dir.path() / "a_directory");

  struct Case {
    const char* name;
    std::string output;
    int width, height;
    bool require_drawing;
  };
  const Case cases[] = {
      {"missing_directory", dir.file("no/such/dir/out.pdf"), 10, 10, false},
      {"output_is_a_directory", dir.file("a_directory"), 10, 10, false},
      {"zero_width", existing, 0, 10, false},
      {"negative_height", existing, 10, -1, false},
      {"too_large", existing, kExportMaxSide + 1, 10, false},
      {"nothing_drawn_but_required", existing, 10, 10, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RendererData data = empty_document(c.width, c.height);
    ExportOptions options;
    options.require_drawing = c.require_drawing;
    const ExportResult result = export_document(data, ExportFormat::Png, c.output, options);
    EXPECT_FALSE(result.written);
    EXPECT_FALSE(result.message.empty());
    EXPECT_EQ(data.export_target, nullptr);
    EXPECT_EQ(read_file(existing), "precious");
    EXPECT_TRUE(fs::is_directory(dir.path() / "a_directory"));
    EXPECT_EQ(names_in(dir.path()).size(), 2u);
  }
}

// A write that fails half-way (here: the file size limit, as a full disk
// would) must not replace the existing file with a truncated one.
TEST(Export, WriteFailingHalfwayKeepsTheOldFile) {
  TempDir dir;
  const std::string existing = dir.write("keep.pdf", "precious");
  RendererData data = empty_document(640, 480);
  ExportOptions options;
  options.background = ExportColor{0.2, 0.4, 0.6, 0.5};

  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* const saved_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit tight = saved;
  tight.rlim_cur = 100;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
  const ExportResult result = export_document(data, ExportFormat::Pdf, existing, options);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, saved_handler);

  EXPECT_FALSE(result.written);
  EXPECT_NE(result.cairo, CAIRO_STATUS_SUCCESS);
  EXPECT_NE(result.message.find("keep.pdf"), std::string::npos) << result.message;
  EXPECT_EQ(read_file(existing), "precious");
  EXPECT_EQ(names_in(dir.path()).size(), 1u);
}

TEST(Export, WriterFailureIsReported) {
  RendererData data = empty_document(20, 20);
  for (ExportFormat format :
       {ExportFormat::Pdf, ExportFormat::Svg, ExportFormat::Eps, ExportFormat::Png}) {
    SCOPED_TRACE(std::string(export_format_name(format)));
    const ExportResult result = export_document_to_writer(
        data, format, [](const unsigned char*, std::size_t) { return false; });
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.cairo, CAIRO_STATUS_WRITE_ERROR);
  }
}

// The box comments are replaced wherever cairo's writes split them; other
// lines, long ones included, pass unchanged.
TEST(Export, EpsPageBoxFilterReplacesBoxCommentsAcrossWrites) {
  const std::string long_line = "%%BoundingBox:" + std::string(300, '7') + "\n";
  const std::string input = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 480 0 480\n" + long_line +
                            "%%EndComments\n%%PageBoundingBox: 10 10 20 20\n%%BoundingBox: 1\nend";
  const std::string expected = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 64 32\n" + long_line +
                               "%%EndComments\n%%PageBoundingBox: 0 0 64 32\n%%BoundingBox: 1\nend";
  for (std::size_t piece : {input.size(), std::size_t{1}, std::size_t{7}}) {
    SCOPED_TRACE(piece);
    std::string output;
    const ExportWriter collect = [&output](const unsigned char* bytes, std::size_t length) {
      output.append(reinterpret_cast<const char*>(bytes), length);
      return true;
    };
    EpsPageBoxFilter filter(collect, 64, 32);
    const auto* bytes = reinterpret_cast<const unsigned char*>(input.data());
    for (std::size_t at = 0; at < input.size(); at += piece) {
      ASSERT_TRUE(filter.write(bytes + at, std::min(piece, input.size() - at)));
    }
    ASSERT_TRUE(filter.finish());
    EXPECT_EQ(output, expected);
  }
}

TEST(Export, FormatNames) {
  EXPECT_EQ(export_format_from_name("pdf"), ExportFormat::Pdf);
  EXPECT_EQ(export_format_from_name("SVG"), ExportFormat::Svg);
  EXPECT_EQ(export_format_from_name("Eps"), ExportFormat::Eps);
  EXPECT_EQ(export_format_from_name("png"), ExportFormat::Png);
  EXPECT_EQ(export_format_from_name("jpeg"), std::nullopt);
  EXPECT_EQ(export_format_from_name(""), std::nullopt);
  EXPECT_EQ(export_format_name(ExportFormat::Eps), "eps");
}

}  // namespace
