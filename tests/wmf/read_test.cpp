// Headers, record sizes and the record readers.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/wmf/wmf_writer.h"
#include "wmf/wmf_read.h"
#include "wmf/wmf_records.h"

namespace {

std::vector<std::uint8_t> truncated(std::vector<std::uint8_t> v, std::size_t size) {
  v.resize(size);
  return v;
}

TEST(WmfReadHeaders, FirstRecordOffsetOrZero) {
  std::vector<std::uint8_t> placeable = WmfWriter(0, 0, 100, 100).finish();
  std::vector<std::uint8_t> plain = WmfWriter(0, 0, 100, 100, false).finish();
  std::vector<std::uint8_t> huge_header = plain;
  huge_header[2] = 0xFF;  // header size 255 words runs past the buffer
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::size_t first_record;
    std::uint32_t key;
  } cases[] = {
      {"placeable", placeable, 40, kWmfPlaceableKey},
      {"plain", plain, 18, 0},
      {"four bytes", truncated(placeable, 4), 0, 0},
      {"key without header", truncated(placeable, 22), 0, 0},
      {"40 bytes: header ends at the buffer's end", truncated(placeable, 40), 0, 0},
      {"41 bytes", truncated(placeable, 41), 40, kWmfPlaceableKey},
      {"declared header too long", huge_header, 0, 0},
  };
  for (const Case& c : cases) {
    WmfPlaceableHeader p;
    WmfHeader h;
    std::size_t first = wmf_read_headers(c.bytes, p, h);
    EXPECT_EQ(first, c.first_record) << c.name;
    if (first != 0) {
      EXPECT_EQ(p.key, c.key) << c.name;
      EXPECT_EQ(h.header_words, 9) << c.name;
    }
  }
  WmfPlaceableHeader p;
  WmfHeader h;
  wmf_read_headers(WmfWriter(-5, 7, 300, -200).finish(), p, h);
  EXPECT_EQ(p.left, -5);
  EXPECT_EQ(p.top, 7);
  EXPECT_EQ(p.right, 300);
  EXPECT_EQ(p.bottom, -200);
}

TEST(WmfRecordSize, ValidOnlyInsideTheBuffer) {
  // Records start at 40; the end record is 6 bytes.
  std::vector<std::uint8_t> file = WmfWriter(0, 0, 10, 10).rec(0x0324, {0}).finish();
  EXPECT_EQ(wmf_record_size(file, 40), 8u);
  EXPECT_EQ(wmf_record_size(file, 48), 6u);                 // last byte is the buffer's last byte
  EXPECT_EQ(wmf_record_size(truncated(file, 53), 48), 0u);  // one byte short
  EXPECT_EQ(wmf_record_size(file, 50), 0u);                 // head does not fit
  for (std::uint32_t words : {0u, 1u, 2u, 0x80000003u, 0xFFFFFFFFu}) {
    std::vector<std::uint8_t> bad = WmfWriter(0, 0, 10, 10).bad_size(0x0324, words).finish();
    EXPECT_EQ(wmf_record_size(bad, 40), 0u) << words;
  }
  EXPECT_EQ(wmf_convert_byte_order(file), 1);
  EXPECT_EQ(wmf_convert_byte_order(truncated(file, 48)), 0);
}

TEST(WmfRecordReaders, TextoutLengthPadAndCuts) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> params;  // after the head
    std::string text;
    int x, y;
    bool cut;
  } cases[] = {
      // Odd length: a pad byte, then y at 12 and x at 14.
      {"odd length", {3, 0, 'a', 'b', 'c', 0, 20, 0, 10, 0}, "abc", 10, 20, false},
      {"one byte", {1, 0, 'Q', 0, 2, 0, 1, 0}, "Q", 1, 2, false},
      {"empty", {0, 0, 5, 0, 6, 0}, "", 6, 5, false},
      {"length past the record", {50, 0, 'h', 'i', 7, 0, 8, 0}, "hi", 8, 7, true},
      {"negative length", {0xFE, 0xFF, 'h', 'i', 7, 0, 8, 0}, "", 8, 7, true},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> file = WmfWriter(0, 0, 10, 10).raw(0x0521, c.params).finish();
    WmfBytes record = WmfBytes(file).subspan(40, wmf_record_size(file, 40));
    std::string_view text;
    std::int16_t x = -1, y = -1;
    bool cut = false;
    ASSERT_EQ(wmf_get_textout(record, text, y, x, cut), record.size()) << c.name;
    EXPECT_EQ(text, c.text) << c.name;
    EXPECT_EQ(x, c.x) << c.name;
    EXPECT_EQ(y, c.y) << c.name;
    EXPECT_EQ(cut, c.cut) << c.name;
  }
}

TEST(WmfRecordReaders, ShortRecordsAndCutCounts) {
  auto record_of = [](const std::vector<std::uint8_t>& file) {
    return WmfBytes(file).subspan(40, wmf_record_size(file, 40));
  };
  // A rectangle needs four values.
  std::vector<std::uint8_t> short_rect = WmfWriter(0, 0, 10, 10).rec(0x041B, {1, 2, 3}).finish();
  WmfRect rect;
  EXPECT_EQ(wmf_get_rect(record_of(short_rect), rect), 0u);

  // 1000 points declared, 2 present: cut to 2.
  std::vector<std::uint8_t> poly =
      WmfWriter(0, 0, 10, 10).points(0x0324, {{1, 2}, {3, 4}}, 1000).finish();
  WmfPoints points;
  bool cut = false;
  ASSERT_NE(wmf_get_polygon(record_of(poly), points, cut), 0u);
  EXPECT_TRUE(cut);
  ASSERT_EQ(points.count, 2u);
  EXPECT_EQ(points.at(1).x, 3);
  EXPECT_EQ(points.at(1).y, 4);

  // Polygon counts past the record are cut, and so are their points.
  std::vector<std::uint8_t> pp = WmfWriter(0, 0, 10, 10).rec(0x0538, {60000, 3}).finish();
  WmfPolyPolygon polys;
  ASSERT_NE(wmf_get_polypolygon(record_of(pp), polys, cut), 0u);
  EXPECT_TRUE(cut);
  EXPECT_EQ(polys.polygon_count, 1u);
  EXPECT_EQ(polys.points.count, 0u);

  // A face name without a NUL ends at the record's end.
  std::vector<std::uint8_t> font_params(18, 0);
  std::string face(40, 'F');
  font_params.insert(font_params.end(), face.begin(), face.end());
  std::vector<std::uint8_t> font = WmfWriter(0, 0, 10, 10).raw(0x02FB, font_params).finish();
  WmfFontRecord f;
  ASSERT_NE(wmf_get_createfontindirect(record_of(font), f), 0u);
  EXPECT_EQ(f.face_name, face);
}

TEST(WmfRecordReaders, BlockTransferForms) {
  // 12 words with function 0x0922: the form without a bitmap.
  std::vector<std::uint8_t> plain =
      WmfWriter(0, 0, 10, 10).rec(0x0922, {0x20, 0xCC, 1, 2, 0, 30, 40, 5, 6}).finish();
  WmfBlockTransfer blt;
  ASSERT_NE(wmf_get_bitblt(WmfBytes(plain).subspan(40, 24), blt), 0u);
  EXPECT_FALSE(blt.has_bitmap);
  EXPECT_EQ(blt.raster_op, 0x00CC0020u);
  EXPECT_EQ(blt.dst_x, 6);
  EXPECT_EQ(blt.dst_y, 5);
  EXPECT_EQ(blt.dst_width, 40);
  EXPECT_EQ(blt.dst_height, 30);

  // Any other size carries a bitmap header at 22 and pixels at 32.
  std::vector<std::uint8_t> with =
      WmfWriter(0, 0, 10, 10)
          .rec(0x0922, {0x20, 0xCC, 1, 2, 30, 40, 5, 6, 0, 2, 3, 8, 0x1801, 0xAB})
          .finish();
  ASSERT_NE(wmf_get_bitblt(WmfBytes(with).subspan(40, 34), blt), 0u);
  EXPECT_TRUE(blt.has_bitmap);
  EXPECT_EQ(blt.dst_x, 6);
  EXPECT_EQ(blt.dst_height, 30);
  EXPECT_EQ(blt.bitmap.width, 2);
  EXPECT_EQ(blt.bitmap.height, 3);
  EXPECT_EQ(blt.bitmap.bits_per_pixel, 24);
  EXPECT_EQ(blt.pixels.size(), 2u);
}

TEST(WmfReadFile, Statuses) {
  std::vector<std::uint8_t> buffer;
  EXPECT_EQ(wmf_read_file("/nonexistent/file.wmf", buffer), WmfReadStatus::CannotOpen);
  std::string path = ::testing::TempDir() + "read_test.wmf";
  std::vector<std::uint8_t> file = WmfWriter(0, 0, 10, 10).finish();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(file.data(), 1, file.size(), f);
  std::fclose(f);
  EXPECT_EQ(wmf_read_file(path, buffer), WmfReadStatus::Ok);
  EXPECT_EQ(buffer, file);
  std::remove(path.c_str());
}

}  // namespace
