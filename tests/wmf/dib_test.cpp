// Bitmap decoding: each depth checked pixel by pixel on tiny bitmaps, row order, bit fields,
// run-length encoding with its escapes, and hostile headers and data.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "wmf/wmf_dib.h"

// Fixtures name only the header fields they care about; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kGreen = 0xFF00FF00u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;

void put16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(Bytes& b, std::uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}

struct Dib {
  std::uint32_t header_size = 40;
  std::int32_t width = 1;
  std::int32_t height = 1;
  std::uint16_t bits = 24;
  std::uint32_t compression = 0;
  std::uint32_t colors_used = 0;
  std::vector<std::uint32_t> masks;    // behind a 40-byte header, or inside a larger one
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB, written as quads (triples for core)
  Bytes data;

  Bytes build() const {
    Bytes b;
    put32(b, header_size);
    if (header_size == 12) {
      put16(b, static_cast<std::uint16_t>(width));
      put16(b, static_cast<std::uint16_t>(height));
      put16(b, 1);
      put16(b, bits);
    } else {
      put32(b, static_cast<std::uint32_t>(width));
      put32(b, static_cast<std::uint32_t>(height));
      put16(b, 1);
      put16(b, bits);
      put32(b, compression);
      put32(b, static_cast<std::uint32_t>(data.size()));
      put32(b, 2835);
      put32(b, 2835);
      put32(b, colors_used);
      put32(b, 0);
      if (header_size > 40) {
        for (std::size_t i = 0; i < 4; ++i) put32(b, i < masks.size() ? masks[i] : 0);
        b.resize(header_size, 0);
      } else {
        for (const std::uint32_t m : masks) put32(b, m);
      }
    }
    for (const std::uint32_t c : palette) {
      b.push_back(static_cast<std::uint8_t>(c));
      b.push_back(static_cast<std::uint8_t>(c >> 8));
      b.push_back(static_cast<std::uint8_t>(c >> 16));
      if (header_size != 12) b.push_back(0);
    }
    b.insert(b.end(), data.begin(), data.end());
    return b;
  }
};

WmfDibStatus decode(const Bytes& bytes, WmfDibImage& image, std::uint16_t usage = 0) {
  return wmf_decode_dib(bytes, usage, image);
}

struct DepthCase {
  std::string name;
  Dib dib;
  std::int32_t width;
  std::int32_t height;
  std::vector<std::uint32_t> pixels;  // top row first
};

class DibDepth : public ::testing::TestWithParam<DepthCase> {};

TEST_P(DibDepth, DecodesEveryPixelInPlace) {
  const DepthCase& c = GetParam();
  WmfDibImage image;
  ASSERT_EQ(decode(c.dib.build(), image), WmfDibStatus::Ok);
  EXPECT_EQ(image.width, c.width);
  EXPECT_EQ(image.height, c.height);
  ASSERT_EQ(image.pixels.size(), c.pixels.size());
  for (std::size_t i = 0; i < c.pixels.size(); ++i) {
    EXPECT_EQ(image.pixels[i], c.pixels[i]) << "pixel " << i;
  }
}

// Rows are stored bottom-up unless the height is negative; each row is padded to 4 bytes.
INSTANTIATE_TEST_SUITE_P(
    Depths, DibDepth,
    ::testing::Values(
        DepthCase{"mono_3wide_padded",
                  {.width = 3,
                   .height = 2,
                   .bits = 1,
                   .palette = {0x000000, 0xFFFFFF},
                   .data = {0b10100000, 0, 0, 0, 0b01000000, 0, 0, 0}},
                  3,
                  2,
                  {kBlack, kWhite, kBlack, kWhite, kBlack, kWhite}},
        DepthCase{"two_bits",
                  {.width = 4,
                   .height = 1,
                   .bits = 2,
                   .palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF},
                   .data = {0x1B, 0, 0, 0}},
                  4,
                  1,
                  {kBlack, kRed, kGreen, kBlue}},
        DepthCase{"four_bits_short_table",
                  {.width = 3,
                   .height = 1,
                   .bits = 4,
                   .colors_used = 2,
                   .palette = {0xFF0000, 0x0000FF},
                   .data = {0x01, 0x50, 0, 0}},
                  3,
                  1,
                  {kRed, kBlue, kBlack}},  // index 5 is past the table: black
        DepthCase{"eight_bits_top_down",
                  {.width = 2,
                   .height = -2,
                   .bits = 8,
                   .colors_used = 3,
                   .palette = {0xFF0000, 0x00FF00, 0x0000FF},
                   .data = {0, 1, 0, 0, 2, 2, 0, 0}},
                  2,
                  2,
                  {kRed, kGreen, kBlue, kBlue}},
        DepthCase{"core_header_with_triples",
                  {.header_size = 12,
                   .width = 1,
                   .height = 2,
                   .bits = 1,
                   .palette = {0x0000FF, 0xFF0000},
                   .data = {0x00, 0, 0, 0, 0x80, 0, 0, 0}},
                  1,
                  2,
                  {kRed, kBlue}},
        DepthCase{"rgb555",
                  {.width = 2, .height = 1, .bits = 16, .data = {0x00, 0x7C, 0xFF, 0x7F}},
                  2,
                  1,
                  {kRed, kWhite}},
        DepthCase{"rgb565_bitfields",
                  {.width = 2,
                   .height = 1,
                   .bits = 16,
                   .compression = 3,
                   .masks = {0xF800, 0x07E0, 0x001F},
                   .data = {0xE0, 0x07, 0x1F, 0x00}},
                  2,
                  1,
                  {kGreen, kBlue}},
        DepthCase{"rgb24_2wide_padded",
                  {.width = 2,
                   .height = 2,
                   .bits = 24,
                   .data = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 10, 20, 30, 0, 0}},
                  2,
                  2,
                  {kBlue, 0xFF1E140Au, kRed, kGreen}},
        DepthCase{"rgb32_alpha_byte_ignored",
                  {.width = 1, .height = 1, .bits = 32, .data = {0x10, 0x20, 0x30, 0x00}},
                  1,
                  1,
                  {0xFF302010u}},
        DepthCase{"bgra32_v5_alpha_premultiplied",
                  {.header_size = 124,
                   .width = 2,
                   .height = 1,
                   .bits = 32,
                   .compression = 3,
                   .masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
                   .data = {0, 0, 255, 128, 255, 255, 255, 0}},
                  2,
                  1,
                  {0x80800000u, 0x00000000u}},
        DepthCase{"alpha_mask_all_zero_is_opaque",
                  {.header_size = 108,
                   .width = 1,
                   .height = 1,
                   .bits = 32,
                   .compression = 3,
                   .masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
                   .data = {0, 255, 0, 0}},
                  1,
                  1,
                  {kGreen}}),
    [](const auto& info) { return info.param.name; });

TEST(DibPalette, PaletteIndexesShowAsGreyLevels) {
  // The logical palette is not known: index 0 is black, the table's highest index white.
  Bytes b = Dib{.width = 3, .height = 1, .bits = 8, .colors_used = 3}.build();
  b.resize(40);
  for (const std::uint16_t index : {0, 6, 12}) put16(b, index);
  b.insert(b.end(), {0, 1, 2, 0});
  WmfDibImage image;
  ASSERT_EQ(decode(b, image, kWmfDibPalColors), WmfDibStatus::Ok);
  EXPECT_EQ(image.pixels, (std::vector<std::uint32_t>{kBlack, 0xFF808080u, kWhite}));
}

Dib rle8(std::int32_t width, std::int32_t height, Bytes data) {
  return Dib{.width = width,
             .height = height,
             .bits = 8,
             .compression = 1,
             .colors_used = 3,
             .palette = {0xFF0000, 0x00FF00, 0x0000FF},
             .data = data};
}

constexpr std::uint32_t kNone = 0;  // never written: transparent

TEST(DibRle, Rle8RunsEscapesAndAbsoluteMode) {
  // Bottom row: run of 2 red, absolute 3 pixels (padded), end of line. Next row: delta 1,
  // one blue, end of bitmap; the rest stays transparent.
  const Dib dib = rle8(5, 3, {2, 0, 0, 3, 1, 2, 1, 0, 0, 0, 0, 2, 1, 0, 1, 2, 0, 1});
  WmfDibImage image;
  ASSERT_EQ(decode(dib.build(), image), WmfDibStatus::Ok);
  EXPECT_EQ(image.pixels, (std::vector<std::uint32_t>{kNone, kNone, kNone, kNone, kNone,  // top
                                                      kNone, kBlue, kNone, kNone, kNone,  // middle
                                                      kRed, kRed, kGreen, kBlue, kGreen}));
}

TEST(DibRle, Rle4AlternatesNibbles) {
  Dib dib{.width = 5,
          .height = 1,
          .bits = 4,
          .compression = 2,
          .colors_used = 3,
          .palette = {0xFF0000, 0x00FF00, 0x0000FF},
          .data = {3, 0x01, 0, 3, 0x21, 0x00, 0, 1}};  // run R G R, absolute B G
  WmfDibImage image;
  ASSERT_EQ(decode(dib.build(), image), WmfDibStatus::Ok);
  EXPECT_EQ(image.pixels, (std::vector<std::uint32_t>{kRed, kGreen, kRed, kBlue, kGreen}));
}

TEST(DibRle, HostileRunsStayInsideTheBitmap) {
  struct Case {
    const char* name;
    Bytes data;
    WmfDibStatus status;
    std::vector<std::uint32_t> pixels;
  };
  const std::vector<Case> cases = {
      {"run_past_row_end_is_clipped",
       {255, 1, 0, 1},
       WmfDibStatus::Ok,
       {kNone, kNone, kGreen, kGreen}},
      {"absolute_past_row_end",
       {0, 5, 0, 1, 2, 0, 1, 0, 0, 1},
       WmfDibStatus::Ok,
       {kNone, kNone, kRed, kGreen}},
      {"delta_far_outside", {0, 2, 200, 200, 4, 0}, WmfDibStatus::Ok, {kNone, kNone, kNone, kNone}},
      {"lines_past_top", {0, 0, 0, 0, 0, 0, 4, 2}, WmfDibStatus::Ok, {kNone, kNone, kNone, kNone}},
      {"ends_without_end_marker", {1, 0}, WmfDibStatus::Truncated, {kNone, kNone, kRed, kNone}},
      {"absolute_run_cut_short",
       {1, 2, 0, 8, 1},
       WmfDibStatus::Truncated,
       {kNone, kNone, kBlue, kNone}},
      {"delta_cut_short", {0, 2, 1}, WmfDibStatus::Truncated, {kNone, kNone, kNone, kNone}},
  };
  for (const Case& c : cases) {
    WmfDibImage image;
    EXPECT_EQ(decode(rle8(2, 2, c.data).build(), image), c.status) << c.name;
    EXPECT_EQ(image.pixels, c.pixels) << c.name;
  }
}

TEST(DibErrors, BadHeadersAndShortDataGiveAStatusAndNoImage) {
  struct Case {
    const char* name;
    Bytes bytes;
    WmfDibStatus status;
  };
  const Bytes ok = Dib{.width = 2, .height = 2, .bits = 24, .data = Bytes(16, 0)}.build();
  const auto cut = [](Bytes b, std::size_t n) {
    b.resize(b.size() - n);
    return b;
  };
  const std::vector<Case> cases = {
      {"empty", {}, WmfDibStatus::Truncated},
      {"header_cut", Bytes(ok.begin(), ok.begin() + 30), WmfDibStatus::Truncated},
      {"unknown_header_size", Dib{.header_size = 20}.build(), WmfDibStatus::Unsupported},
      {"pixels_cut", cut(ok, 7), WmfDibStatus::Truncated},
      {"bitfield_masks_cut", Dib{.bits = 16, .compression = 3, .masks = {0x7C00}}.build(),
       WmfDibStatus::Truncated},
      {"colour_table_past_end", Dib{.bits = 8, .colors_used = 0xFFFFFFF0u}.build(),
       WmfDibStatus::Truncated},
      {"jpeg", Dib{.bits = 0, .compression = 4, .data = Bytes(16, 0xFF)}.build(),
       WmfDibStatus::Unsupported},
      {"png", Dib{.bits = 0, .compression = 5, .data = Bytes(16, 0x89)}.build(),
       WmfDibStatus::Unsupported},
      {"odd_depth", Dib{.bits = 7, .data = Bytes(4, 0)}.build(), WmfDibStatus::Unsupported},
      {"bitfields_on_24_bits", Dib{.bits = 24, .compression = 3, .masks = {1, 2, 4}}.build(),
       WmfDibStatus::Unsupported},
      {"rle_top_down", rle8(2, -2, {0, 1}).build(), WmfDibStatus::Unsupported},
      {"rle8_with_4_bits", Dib{.bits = 4, .compression = 1, .data = {0, 1}}.build(),
       WmfDibStatus::Unsupported},
      {"zero_width", Dib{.width = 0, .height = 5}.build(), WmfDibStatus::Unsupported},
      {"negative_width", Dib{.width = -3, .height = 5}.build(), WmfDibStatus::Unsupported},
      {"side_too_long", Dib{.width = 100000, .height = 1, .data = Bytes(16, 0)}.build(),
       WmfDibStatus::TooLarge},
      {"too_many_pixels", Dib{.width = 16000, .height = 16000}.build(), WmfDibStatus::TooLarge},
      {"most_negative_height", Dib{.width = 1, .height = INT32_MIN}.build(),
       WmfDibStatus::TooLarge},
      {"huge_rle_from_few_bytes", rle8(4000, 4000, {0, 1}).build(), WmfDibStatus::TooLarge},
      {"huge_within_cap_but_no_data", Dib{.width = 8000, .height = 8000}.build(),
       WmfDibStatus::Truncated},
  };
  for (const Case& c : cases) {
    WmfDibImage image;
    image.width = 9;
    image.pixels.assign(3, 1);
    EXPECT_EQ(decode(c.bytes, image), c.status) << c.name;
    EXPECT_TRUE(image.pixels.empty()) << c.name;
    EXPECT_EQ(image.width, 0) << c.name;
  }
}

TEST(DibErrors, LastRowNeedsNoPadding) {
  // Writers often leave out the padding of the final row; all pixel bytes are there.
  Bytes b = Dib{.width = 1, .height = 2, .bits = 24, .data = {1, 2, 3, 0, 4, 5, 6}}.build();
  WmfDibImage image;
  ASSERT_EQ(decode(b, image), WmfDibStatus::Ok);
  EXPECT_EQ(image.pixels, (std::vector<std::uint32_t>{0xFF060504u, 0xFF030201u}));
}

TEST(DibStatus, NamesAreDistinct) {
  EXPECT_EQ(wmf_dib_status_name(WmfDibStatus::Ok), "ok");
  EXPECT_NE(wmf_dib_status_name(WmfDibStatus::Truncated),
            wmf_dib_status_name(WmfDibStatus::TooLarge));
}

}  // namespace
