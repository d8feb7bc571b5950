#include <gtest/gtest.h>

#include "svg/svg_color.h"

namespace {

struct ColorCase {
  const char* text;
  SvgStatus status;
  uint32_t rgb;
  int32_t is_current_color;
};

TEST(SvgColorParse, ReadsEveryForm) {
  const ColorCase cases[] = {
      {"", SvgStatus::Ok, 0x000000, 0},
      {"currentColor", SvgStatus::Ok, 0, 1},
      {"currentcolor", SvgStatus::Ok, 0, 0},  // no keyword: black
      {"#f00", SvgStatus::Ok, 0xFF0000, 0},
      {"#ff0000", SvgStatus::Ok, 0xFF0000, 0},
      {"#F0F", SvgStatus::Ok, 0xFF00FF, 0},
      {"#12345", SvgStatus::Ok, 0x112233, 0},
      {"#1234567", SvgStatus::Ok, 0x123456, 0},
      {"#aBcDeF", SvgStatus::Ok, 0xABCDEF, 0},
      {"#", SvgStatus::Ok, 0, 0},
      {"#ab", SvgStatus::Ok, 0, 0},
      {"#gg0000", SvgStatus::Ok, 0, 0},
      {"#fgf", SvgStatus::Ok, 0xFF00FF, 0},  // a non-digit counts as 0
      {"rgb(255,0,0)", SvgStatus::Ok, 0xFF0000, 0},
      {"rgb( 255 , 0 , 0 )", SvgStatus::Ok, 0xFF0000, 0},
      {"  rgb(1,2,3)", SvgStatus::Ok, 0x010203, 0},
      {"rgb(100%,0%,0%)", SvgStatus::Ok, 0xFF0000, 0},
      {"rgb(50%,50%,50%)", SvgStatus::Ok, 0x7F7F7F, 0},
      {"rgb(10 %, 0, 0)", SvgStatus::Ok, 0x190000, 0},
      {"rgb(300,-5,0)", SvgStatus::Ok, 0xFF0000, 0},
      {"rgb(1.9,2.9,3.9)", SvgStatus::Ok, 0x010203, 0},
      {"rgb((1,,2,3))) trailing", SvgStatus::Ok, 0x010203, 0},
      {"rgb 1 2 3", SvgStatus::Ok, 0x010203, 0},
      {"rgb(1e9,0,0)", SvgStatus::Ok, 0xFF0000, 0},
      {"rgb(1,2)", SvgStatus::Malformed, 0, 0},
      {"rgb(a,b,c)", SvgStatus::Malformed, 0, 0},
      {"RGB(1,2,3)", SvgStatus::Ok, 0, 0},  // looked up as a keyword
      {"red", SvgStatus::Ok, 0xFF0000, 0},
      {"Red", SvgStatus::Ok, 0xFF0000, 0},
      {"RED", SvgStatus::Ok, 0xFF0000, 0},
      {"  red", SvgStatus::Ok, 0xFF0000, 0},
      {"red ", SvgStatus::Ok, 0, 0},  // trailing white space is part of the name
      {"reds", SvgStatus::Ok, 0, 0},
      {"re", SvgStatus::Ok, 0, 0},
      {"nosuchcolor", SvgStatus::Ok, 0, 0},
  };
  for (const ColorCase& c : cases) {
    SvgColor color{1, 0x123456};
    EXPECT_EQ(color.parse(c.text), c.status) << c.text;
    if (c.status == SvgStatus::Ok) {
      EXPECT_EQ(color.rgb, c.rgb) << c.text;
      EXPECT_EQ(color.is_current_color, c.is_current_color) << c.text;
    } else {
      EXPECT_EQ(color.rgb, 0x123456u) << c.text;  // unchanged on failure
      EXPECT_EQ(color.is_current_color, 1) << c.text;
    }
  }
}

TEST(SvgColorKeywords, FindsKeywordsAcrossTheWholeTable) {
  struct Row {
    const char* name;
    uint32_t rgb;
  };
  // The table's ends, its alias pairs, and neighbours that sort closely.
  const Row rows[] = {
      {"aliceblue", 0xF0F8FF},
      {"black", 0x000000},
      {"white", 0xFFFFFF},
      {"lime", 0x00FF00},
      {"green", 0x008000},
      {"greenyellow", 0xADFF2F},
      {"gray", 0x808080},
      {"grey", 0x808080},
      {"darkgray", 0xA9A9A9},
      {"darkgrey", 0xA9A9A9},
      {"darkgreen", 0x006400},
      {"lightgoldenrodyellow", 0xFAFAD2},
      {"aqua", 0x00FFFF},
      {"cyan", 0x00FFFF},
      {"fuchsia", 0xFF00FF},
      {"magenta", 0xFF00FF},
      {"tan", 0xD2B48C},
      {"YellowGreen", 0x9ACD32},
      {"rebeccapurple", 0xFFFFFFFF},  // not an SVG 1.1 keyword
      {"", 0xFFFFFFFF},
      {"a", 0xFFFFFFFF},
      {"zzz", 0xFFFFFFFF},
  };
  for (const Row& row : rows) {
    uint32_t rgb = 0xFFFFFFFF;
    bool found = svg_color_keyword(row.name, &rgb);
    EXPECT_EQ(found, row.rgb != 0xFFFFFFFF) << row.name;
    EXPECT_EQ(rgb, row.rgb) << row.name;
  }
}

TEST(SvgColorChannels, SplitTheRgbWord) {
  SvgColor color;
  ASSERT_EQ(color.parse("#1a2b3c"), SvgStatus::Ok);
  EXPECT_EQ(color.red(), 0x1a);
  EXPECT_EQ(color.green(), 0x2b);
  EXPECT_EQ(color.blue(), 0x3c);
}

}  // namespace
