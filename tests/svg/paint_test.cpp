#include <gtest/gtest.h>

#include <map>
#include <string>

#include "svg/svg_paint.h"

namespace {

// The paint only points at gradient and pattern records, so the tests hand it
// addresses of placeholders, never dereferenced.
alignas(16) const char kGradientPlaceholder[16] = {};
alignas(16) const char kPatternPlaceholder[16] = {};
const SvgGradient* const kGradient = reinterpret_cast<const SvgGradient*>(kGradientPlaceholder);
const SvgElement* const kPattern = reinterpret_cast<const SvgElement*>(kPatternPlaceholder);

class FakeServers : public SvgPaintServers {
 public:
  std::map<std::string, SvgPaintServer, std::less<>> ids = {
      {"g1", {SvgPaintType::Gradient, kGradient, nullptr}},
      {"p1", {SvgPaintType::Pattern, nullptr, kPattern}},
      {"rect", {}},  // an element that is no paint server
  };
  SvgPaintServer find_paint_server(std::string_view id) const override {
    auto found = ids.find(id);
    return found == ids.end() ? SvgPaintServer{} : found->second;
  }
};

struct PaintCase {
  const char* text;
  SvgStatus status;
  SvgPaintType type;
  uint32_t rgb;
  int32_t is_current_color;
};

TEST(SvgPaintParse, ReadsNoneReferencesAndColours) {
  using T = SvgPaintType;
  const PaintCase cases[] = {
      {"none", SvgStatus::Ok, T::None, 0, 0},
      {"red", SvgStatus::Ok, T::Color, 0xFF0000, 0},
      {"#00f", SvgStatus::Ok, T::Color, 0x0000FF, 0},
      {"currentColor", SvgStatus::Ok, T::Color, 0, 1},
      {"None", SvgStatus::Ok, T::Color, 0, 0},  // keywords are exact: black
      {"none ", SvgStatus::Ok, T::Color, 0, 0},
      {"url(#g1)", SvgStatus::Ok, T::Gradient, 0, 0},
      {"url(#g1) red", SvgStatus::Ok, T::Gradient, 0, 0},  // fallback ignored
      {"url(#p1)", SvgStatus::Ok, T::Pattern, 0, 0},
      {"url(#g1", SvgStatus::Ok, T::Color, 0, 0},  // no ")": a colour, black
      {"url(#missing)", SvgStatus::Malformed, T::None, 0, 0},
      {"url(#rect)", SvgStatus::Malformed, T::None, 0, 0},
      {"url(#G1)", SvgStatus::Malformed, T::None, 0, 0},  // ids are case-sensitive
      {"url(#)", SvgStatus::Malformed, T::None, 0, 0},
      {"rgb(1,2)", SvgStatus::Malformed, T::None, 0, 0},
  };
  const FakeServers servers;
  for (const PaintCase& c : cases) {
    SvgPaint paint;
    paint.type = SvgPaintType::Color;
    paint.color = SvgColor{0, 0x123456};
    EXPECT_EQ(paint.parse(servers, c.text), c.status) << c.text;
    if (c.status != SvgStatus::Ok) {
      EXPECT_EQ(paint.type, SvgPaintType::Color) << c.text;  // unchanged
      EXPECT_EQ(paint.color.rgb, 0x123456u) << c.text;
      continue;
    }
    EXPECT_EQ(paint.type, c.type) << c.text;
    if (c.type == T::Color) {
      EXPECT_EQ(paint.color.rgb, c.rgb) << c.text;
      EXPECT_EQ(paint.color.is_current_color, c.is_current_color) << c.text;
    }
    EXPECT_EQ(paint.gradient, c.type == T::Gradient ? kGradient : nullptr) << c.text;
    EXPECT_EQ(paint.pattern, c.type == T::Pattern ? kPattern : nullptr) << c.text;
  }
}

TEST(SvgPaintReference, ExtractsTheIdForLaterResolution) {
  EXPECT_EQ(SvgPaint::reference_id("url(#later)"), "later");
  EXPECT_EQ(SvgPaint::reference_id("url(#a)b)"), "a");
  EXPECT_EQ(SvgPaint::reference_id("url(#)"), "");
  EXPECT_FALSE(SvgPaint::reference_id("url(#open").has_value());
  EXPECT_FALSE(SvgPaint::reference_id(" url(#x)").has_value());
  EXPECT_FALSE(SvgPaint::reference_id("url(x)").has_value());

  SvgPaint paint;
  EXPECT_EQ(paint.set_server(SvgPaintServer{}), SvgStatus::Malformed);
  EXPECT_EQ(paint.type, SvgPaintType::None);
  EXPECT_EQ(paint.set_server({SvgPaintType::Gradient, kGradient, nullptr}), SvgStatus::Ok);
  EXPECT_EQ(paint.type, SvgPaintType::Gradient);
  EXPECT_EQ(paint.gradient, kGradient);
}

}  // namespace
