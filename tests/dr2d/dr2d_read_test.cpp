#include "dr2d/dr2d_read.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "tests/dr2d/dr2d_writer.h"

namespace {

using namespace dr2dw;

struct ReadResult {
  IffStatus status;
  std::unique_ptr<Dr2dDrawing> drawing;
};

ReadResult read(const Bytes& bytes) {
  ReadResult result;
  result.status = read_dr2d_memory(bytes.data(), bytes.size(), result.drawing);
  return result;
}

Bytes ieee_bytes(std::uint32_t bits) {
  Bytes b;
  put_u32(b, bits);
  return b;
}

TEST(Dr2dFixed, ConvertsTruncatingTowardZeroAndSaturates) {
  struct Case {
    std::uint32_t bits;
    Dr2dFixed expected;
  };
  const auto f = [](float v) { return std::bit_cast<std::uint32_t>(v); };
  const float inf = std::numeric_limits<float>::infinity();
  const Case cases[] = {
      {f(0.0f), 0},
      {f(-0.0f), 0},
      {0x00000001, 0},  // the smallest denormal
      {0x807FFFFF, 0},  // a negative denormal
      {f(1.5f), 1536},
      {f(-2.25f), -2304},
      {f(1.0f / 1024), 1},
      {f(0.0009f), 0},           // less than one unit
      {f(-1.9999f / 1024), -1},  // toward zero, not down
      {f(2097151.0f), 2097151 * 1024},
      {f(2097152.0f), kDr2dFixedMax},
      {f(-3.0e9f), -kDr2dFixedMax},
      {f(inf), kDr2dFixedMax},
      {f(-inf), -kDr2dFixedMax},
      {0x7FC00000, kDr2dFixedMax},   // NaN
      {0xFFC00001, -kDr2dFixedMax},  // negative NaN that is not the indicator
  };
  for (const Case& c : cases) {
    Bytes bytes = ieee_bytes(c.bits);
    EXPECT_EQ(fixed_from_ieee(bytes.data()), c.expected) << std::hex << c.bits;
  }
}

TEST(Dr2dRead, ReadsGlobalTablesAndGrowsThemByNumber) {
  Bytes file =
      form("DR2D", {drhd(1, 2, 101, 202), cmap({{10, 20, 30}, {40, 50, 60}}), cmap({{255, 128, 0}}),
                    layr(5, kVisible, "Top"), layr(1, 0, "Hidden"), fons(3, "Serif"),
                    dash(2, {1.5f, 0.5f}), chunk("CMYK", Bytes(4, 0)), chunk("CNAM", Bytes(6, 'x')),
                    chunk("PPRF", Bytes{'a', 0}), fill_form(4, {rect(0, 0, 1, 1)})});
  ReadResult r = read(file);
  ASSERT_EQ(r.status, IffStatus::Ok);
  const Dr2dDrawing& d = *r.drawing;
  EXPECT_EQ(d.left, 1024);
  EXPECT_EQ(d.top, 2048);
  EXPECT_EQ(d.right, 101 * 1024);
  EXPECT_EQ(d.bottom, 202 * 1024);
  // The second colour map replaces the first.
  EXPECT_EQ(d.colour_count, 1u);
  EXPECT_EQ(d.colour_rgb, (std::vector<std::uint8_t>{255, 128, 0}));
  EXPECT_EQ(d.colour_cmyk, (std::vector<std::uint8_t>{0, 127, 255, 0}));
  // Layer 5 first: layers 0 to 4 exist, numbered, hidden.
  ASSERT_EQ(d.layers.size(), 6u);
  for (std::uint16_t i = 0; i < 6; ++i) EXPECT_EQ(d.layers[i].number, i);
  EXPECT_EQ(d.layers[0].flags, 0);
  EXPECT_EQ(d.layers[5].flags, kVisible);
  EXPECT_STREQ(d.layers[5].name.data(), "Top");
  EXPECT_STREQ(d.layers[1].name.data(), "Hidden");
  EXPECT_GE(d.layers.capacity(), 8u);
  ASSERT_EQ(d.fonts.size(), 4u);
  EXPECT_EQ(d.fonts[3].name, "Serif");
  EXPECT_TRUE(d.fonts[0].name.empty());
  ASSERT_EQ(d.dashes.size(), 3u);
  EXPECT_EQ(d.dashes[2], (std::vector<Dr2dFixed>{1536, 512}));
  ASSERT_EQ(d.fills.size(), 5u);
  EXPECT_EQ(d.fills[0], nullptr);
  ASSERT_NE(d.fills[4], nullptr);
  EXPECT_EQ(d.fills[4]->kind, kDr2dClosedPolygon);
}

TEST(Dr2dRead, BuildsObjectsWithTheirScopedAttributes) {
  Attr outer;
  outer.fill_type = 1, outer.fill_value = 1, outer.edge_thickness = 0.5f;
  Attr inner = outer;
  inner.fill_value = 2, inner.layer = 1;
  Bytes file =
      form("DR2D", {drhd(0, 0, 10, 10), layr(0, kVisible), layr(1, kVisible), attr(outer),
                    bbox(1, 2, 3, 4), cply({pt(1.5f, 2), indicator(0x80000003), pt(-2.25f, 0)}),
                    grup_form({oply({pt(0, 0), pt(1, 1)}),
                               grup_form({attr(inner), rect(0, 0, 1, 1)}, 1), stxt(1, 3, 4, "Hi")},
                              3),
                    xtrn_form("App", {rect(0, 0, 1, 1), oply({pt(2, 2), pt(3, 3)})}, 7),
                    tpth(2, "abc", {pt(1, 1), pt(2, 2)}), vbm(std::string("pic.iff\0", 8), 20)});
  ReadResult r = read(file);
  ASSERT_EQ(r.status, IffStatus::Ok);
  const std::vector<Dr2dObject>& top = r.drawing->layer_objects[0];
  ASSERT_EQ(top.size(), 5u);

  const Dr2dObject& polygon = top[0];
  EXPECT_EQ(polygon.kind, kDr2dClosedPolygon);
  EXPECT_EQ(polygon.attributes.fill_value, 1);
  EXPECT_EQ(polygon.attributes.edge_thickness, 512);
  EXPECT_EQ(polygon.bounds.x_min, 1024);
  EXPECT_EQ(polygon.bounds.y_max, 4096);
  const auto& points = std::get<Dr2dPolygon>(polygon.data).points;
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0].x, 1536);
  EXPECT_EQ(points[1].x, kDr2dIndicator);
  EXPECT_EQ(std::uint32_t(points[1].y), 0x80000003u);  // flags kept bit for bit
  EXPECT_EQ(points[2].x, -2304);

  // Groups keep their children in file order; the inner group's ATTR applies
  // inside it only, and its layer field does not matter there.
  const auto& group = std::get<Dr2dGroup>(top[1].data);
  EXPECT_EQ(group.declared_count, 3);
  ASSERT_EQ(group.children.size(), 3u);
  EXPECT_EQ(group.children[0].kind, kDr2dOpenPolygon);
  EXPECT_EQ(group.children[2].kind, kDr2dText);
  EXPECT_EQ(group.children[2].attributes.fill_value, 1);
  const auto& inner_group = std::get<Dr2dGroup>(group.children[1].data);
  ASSERT_EQ(inner_group.children.size(), 1u);
  EXPECT_EQ(inner_group.children[0].attributes.fill_value, 2);
  const auto& text = std::get<Dr2dText>(group.children[2].data);
  EXPECT_EQ(text.text, "Hi");
  EXPECT_EQ(text.base_x, 3 * 1024);
  EXPECT_EQ(text.font, 1);

  // Of two objects in an external object only the second is kept.
  const auto& external = std::get<Dr2dExternal>(top[2].data);
  EXPECT_EQ(external.callbacks, 7);
  EXPECT_EQ(external.application_name, "App");
  ASSERT_NE(external.child, nullptr);
  EXPECT_EQ(external.child->kind, kDr2dOpenPolygon);

  const auto& path = std::get<Dr2dTextPath>(top[3].data);
  EXPECT_EQ(path.text, "abc");
  ASSERT_EQ(path.path_points.size(), 2u);
  EXPECT_EQ(path.path_points[1].y, 2048);
  // Only the name bytes the chunk holds are read, up to the terminator.
  EXPECT_EQ(std::get<Dr2dBitmap>(top[4].data).file_name, "pic.iff");
}

TEST(Dr2dRead, ObjectsWithoutAttrGetZeroAttributes) {
  ReadResult r = read(form("DR2D", {drhd(0, 0, 1, 1), layr(0, kVisible), rect(0, 0, 1, 1)}));
  ASSERT_EQ(r.status, IffStatus::Ok);
  const Dr2dAttributes& a = r.drawing->layer_objects[0][0].attributes;
  EXPECT_EQ(a.fill_type, 0);
  EXPECT_EQ(a.dash_pattern, 0);
  EXPECT_EQ(a.layer, 0);
}

Bytes nested_groups(int levels) {
  Bytes inner = rect(0, 0, 1, 1);
  for (int i = 0; i < levels; ++i) inner = grup_form({inner});
  return inner;
}

TEST(Dr2dRead, RefusesFilesItCannotRead) {
  const Bytes head = drhd(0, 0, 10, 10);
  const Bytes layer = layr(0, kVisible);
  Attr on_layer_3;
  on_layer_3.layer = 3;
  Bytes short_attr = chunk("ATTR", Bytes(13, 0));
  Bytes short_polygon = cply({pt(0, 0), pt(1, 1), pt(2, 2)});
  short_polygon[9] = 4;  // four points declared, three present
  Bytes huge_count = cply({pt(0, 0)});
  huge_count[8] = 0xFF, huge_count[9] = 0xFF;  // 65535 points in 10 bytes
  Bytes short_drhd = chunk("DRHD", Bytes(12, 0));
  Bytes truncated = form("DR2D", {head, layer, rect(0, 0, 1, 1)});
  truncated.resize(truncated.size() - 6);

  struct Case {
    const char* name;
    Bytes file;
    IffStatus expected;
  };
  const std::vector<Case> cases = {
      {"no DRHD", form("DR2D", {layer, rect(0, 0, 1, 1)}), IffStatus::Malformed},
      {"DRHD too short", form("DR2D", {short_drhd, layer}), IffStatus::Malformed},
      {"object but no LAYR", form("DR2D", {head, rect(0, 0, 1, 1)}), IffStatus::Malformed},
      {"object on an undeclared layer",
       form("DR2D", {head, layer, layr(1, kVisible), attr(on_layer_3), rect(0, 0, 1, 1)}),
       IffStatus::Malformed},
      {"layer declared after its object", form("DR2D", {head, rect(0, 0, 1, 1), layer}),
       IffStatus::Malformed},
      {"GRUP in the outermost FORM", form("DR2D", {head, layer, u16_chunk("GRUP", 0)}),
       IffStatus::Malformed},
      {"nested FORM without GRUP", form("DR2D", {head, layer, form("DR2D", {rect(0, 0, 1, 1)})}),
       IffStatus::Malformed},
      {"empty nested FORM", form("DR2D", {head, layer, form("DR2D", {})}), IffStatus::Malformed},
      {"nested FORM opening with a FORM",
       form("DR2D", {head, layer, form("DR2D", {grup_form({rect(0, 0, 1, 1)})})}),
       IffStatus::Malformed},
      {"second GRUP in one FORM",
       form("DR2D", {head, layer, form("DR2D", {u16_chunk("GRUP", 0), u16_chunk("GRUP", 0)})}),
       IffStatus::Malformed},
      {"global chunk in a group", form("DR2D", {head, layer, grup_form({layr(1, 0)})}),
       IffStatus::Malformed},
      {"FILL inside a group", form("DR2D", {head, layer, grup_form({fill_form(1, {})})}),
       IffStatus::Malformed},
      {"ATTR too short", form("DR2D", {head, layer, short_attr, rect(0, 0, 1, 1)}),
       IffStatus::Malformed},
      {"fewer points than declared", form("DR2D", {head, layer, short_polygon}),
       IffStatus::Malformed},
      {"a count the chunk cannot hold", form("DR2D", {head, layer, huge_count}),
       IffStatus::Malformed},
      {"XTRN name beyond its chunk",
       form("DR2D", {head, layer, form("DR2D", {chunk("XTRN", Bytes{0, 0, 0, 9, 'a'})})}),
       IffStatus::Malformed},
      {"STXT shorter than its fields", form("DR2D", {head, layer, chunk("STXT", Bytes(23, 0))}),
       IffStatus::Malformed},
      {"groups nested too deep", form("DR2D", {head, layer, nested_groups(kDr2dMaxNesting)}),
       IffStatus::Malformed},
      {"truncated file", truncated, IffStatus::Malformed},
      {"not a DR2D FORM", form("ILBM", {head, layer}), IffStatus::EndOfFile},
      {"not IFF", Bytes{'D', 'R', '2', 'D', 0, 0, 0, 0}, IffStatus::Malformed},
  };
  for (const Case& c : cases) {
    ReadResult r = read(c.file);
    EXPECT_EQ(r.status, c.expected) << c.name;
    EXPECT_EQ(r.drawing, nullptr) << c.name;
  }
  // One level less than the bound still reads.
  EXPECT_EQ(read(form("DR2D", {head, layer, nested_groups(kDr2dMaxNesting - 1)})).status,
            IffStatus::Ok);
}

TEST(Dr2dRead, SkipsForeignFormsAndChunks) {
  Bytes file = form(
      "DR2D", {drhd(0, 0, 10, 10), layr(0, kVisible), chunk("ANNO", Bytes(3, 'x')),
               form("ILBM", {chunk("BMHD", Bytes(20, 0)), rect(0, 0, 1, 1)}), rect(1, 1, 2, 2)});
  ReadResult r = read(file);
  ASSERT_EQ(r.status, IffStatus::Ok);
  ASSERT_EQ(r.drawing->layer_objects[0].size(), 1u);
}

TEST(Dr2dRead, TakesSharedPropertiesFromAList) {
  Attr shared;
  shared.fill_value = 9;
  Bytes file = group("LIST", "DR2D",
                     {group("PROP", "DR2D", {drhd(0, 0, 8, 4), attr(shared)}),
                      form("DR2D", {layr(0, kVisible), rect(1, 1, 2, 2)})});
  ReadResult r = read(file);
  ASSERT_EQ(r.status, IffStatus::Ok);
  EXPECT_EQ(r.drawing->right, 8 * 1024);
  EXPECT_EQ(r.drawing->layer_objects[0][0].attributes.fill_value, 9);
}

}  // namespace
