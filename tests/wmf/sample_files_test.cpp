// The committed sample drawing and fuzz seeds are what the generators make.
// PLOTMIRA_WRITE_SAMPLES=1 rewrites them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/wmf/wmf_canvas.h"
#include "tests/wmf/wmf_fixtures.h"

namespace {

const std::filesystem::path kRoot = PLOTMIRA_SOURCE_DIR;

std::vector<std::uint8_t> read_all(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void check_or_write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  if (std::getenv("PLOTMIRA_WRITE_SAMPLES") != nullptr) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  EXPECT_EQ(read_all(path), bytes) << path << " differs from its generator";
}

TEST(WmfSampleFiles, SampleDrawingPlaysWhole) {
  std::vector<std::uint8_t> sample = wmf_sample_drawing();
  check_or_write(kRoot / "samples" / "sample.wmf", sample);
  WmfCanvas canvas(160, 120);
  EXPECT_EQ(canvas.play(sample), RenderStatus::Ok);
  EXPECT_EQ(canvas.at(5, 5) >> 24, 0xFFu);  // the sky covers the picture
}

TEST(WmfSampleFiles, FuzzSeedsMatchTheirGenerator) {
  for (const auto& [name, bytes] : wmf_fuzz_seeds()) {
    check_or_write(kRoot / "fuzz" / "corpus" / "fuzz_wmf" / name, bytes);
  }
}

}  // namespace
