// Style properties: the table, the value grammars, the reading order and the
// hand-over to a render engine.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "svg/svg_document.h"
#include "svg/svg_style.h"
#include "tests/svg/recording_engine.h"
#include "tests/svg/svg_test_support.h"

namespace {

SvgStyle fresh_style() {
  SvgStyle style;
  SvgStyle::init(style, nullptr);
  return style;
}

// The style of the first element inside the root.
const SvgStyle& first_style(const ParsedDocument& p) {
  return child(p.document->root.get(), 0)->style;
}

TEST(StyleTable, NamesAndRootDefaultsInOrder) {
  const char* names[] = {
      "color",          "display",         "fill-opacity",      "fill",
      "fill-rule",      "font-family",     "font-size",         "font-style",
      "font-weight",    "opacity",         "stroke-dasharray",  "stroke-dashoffset",
      "stroke-linecap", "stroke-linejoin", "stroke-miterlimit", "stroke-opacity",
      "stroke",         "stroke-width",    "text-anchor",       "visibility",
      "stop-opacity",   "stop-color"};
  for (int i = 0; i < kSvgStylePropertyCount; ++i) {
    EXPECT_EQ(kSvgStyleProperties[i].name, names[i]);
  }
  SvgStyle root = fresh_style();
  ASSERT_EQ(SvgStyle::apply_root_defaults(root), SvgStatus::Ok);
  EXPECT_EQ(root.flags, (uint64_t{1} << 20) - 1);  // every property and both state flags
  // stop-color comes last and shares the color field.
  EXPECT_EQ(root.color.rgb, 0xffffffu);
  EXPECT_EQ(root.fill_paint.type, SvgPaintType::Color);
  EXPECT_EQ(root.fill_paint.color.rgb, 0u);
  EXPECT_EQ(root.stroke_paint.type, SvgPaintType::None);
  EXPECT_EQ(root.font_family, "sans-serif");
  EXPECT_EQ(root.font_weight, 400);
  EXPECT_EQ(root.line_join, 1);
  EXPECT_EQ(root.miter_limit, 4.0);
  EXPECT_TRUE(root.dash_array.empty());
}

TEST(StyleProperties, ValueGrammars) {
  struct Case {
    const char* name;
    const char* value;
    SvgStatus status;
    std::function<bool(const SvgStyle&)> check;
  };
  const Case cases[] = {
      {"opacity", "50%", SvgStatus::Ok, [](auto& s) { return s.opacity == 0.5; }},
      {"opacity", "0.5%", SvgStatus::Ok, [](auto& s) { return s.opacity == 0.005; }},
      {"opacity", "2", SvgStatus::Ok, [](auto& s) { return s.opacity == 2; }},
      {"opacity", " .25", SvgStatus::Ok, [](auto& s) { return s.opacity == 0.25; }},
      {"fill-opacity", "inherit", SvgStatus::Malformed,
       [](auto& s) { return !s.has(kSvgStyleFillOpacity) && s.fill_opacity == 1; }},
      {"stroke-opacity", "0x1", SvgStatus::Ok, [](auto& s) { return s.stroke_opacity == 0; }},
      {"font-weight", "bold", SvgStatus::Ok, [](auto& s) { return s.font_weight == 700; }},
      {"font-weight", "bolder", SvgStatus::Ok, [](auto& s) { return s.font_weight == 500; }},
      {"font-weight", "lighter", SvgStatus::Ok, [](auto& s) { return s.font_weight == 300; }},
      {"font-weight", "1000", SvgStatus::Ok, [](auto& s) { return s.font_weight == 900; }},
      {"font-weight", "50", SvgStatus::Ok, [](auto& s) { return s.font_weight == 100; }},
      {"font-weight", "-3", SvgStatus::Ok, [](auto& s) { return s.font_weight == 900; }},
      {"font-weight", "550.9", SvgStatus::Ok, [](auto& s) { return s.font_weight == 550; }},
      {"font-weight", "heavy", SvgStatus::Ok, [](auto& s) { return s.font_weight == 100; }},
      {"font-weight", "inherit", SvgStatus::Ok, [](auto& s) { return s.font_weight == 100; }},
      {"stroke-dasharray", "5, 3 2", SvgStatus::Ok,
       [](auto& s) { return s.dash_array == std::vector<double>{5, 3, 2, 5, 3, 2}; }},
      {"stroke-dasharray", "4,2", SvgStatus::Ok,
       [](auto& s) {
         return s.dash_array == std::vector<double>{4, 2};
       }},
      {"stroke-dasharray", "5px 3", SvgStatus::Ok,
       [](auto& s) {
         return s.dash_array == std::vector<double>{5, 5};
       }},
      {"stroke-dasharray", "none", SvgStatus::Ok,
       [](auto& s) { return s.has(kSvgStyleDashArray) && s.dash_array.empty(); }},
      {"stroke-dasharray", "inherit", SvgStatus::Ok,
       [](auto& s) { return s.has(kSvgStyleDashArray) && s.dash_array.empty(); }},
      {"stroke-miterlimit", "x", SvgStatus::Malformed,
       [](auto& s) { return !s.has(kSvgStyleMiterLimit) && s.miter_limit == 0; }},
      {"stroke-linejoin", "bevel", SvgStatus::Ok, [](auto& s) { return s.line_join == 0; }},
      {"stroke-linecap", "Round", SvgStatus::Malformed,
       [](auto& s) { return !s.has(kSvgStyleLineCap); }},
      {"fill-rule", "evenodd", SvgStatus::Ok, [](auto& s) { return s.fill_rule == 1; }},
      {"font-style", "oblique", SvgStatus::Ok, [](auto& s) { return s.font_style == 2; }},
      {"text-anchor", "middle", SvgStatus::Ok, [](auto& s) { return s.text_anchor == 1; }},
      {"font-size", "12pt", SvgStatus::Ok,
       [](auto& s) { return s.font_size.value == 12 && s.font_size.unit() == SvgLengthUnit::Pt; }},
      {"font-size", "large", SvgStatus::Malformed,
       [](auto& s) { return !s.has(kSvgStyleFontSize) && s.font_size.value == 10; }},
      {"font-family", "'DejaVu Sans', serif", SvgStatus::Ok,
       [](auto& s) { return s.font_family == "'DejaVu Sans', serif"; }},
      {"font-family", "inherit", SvgStatus::Ok, [](auto& s) { return s.font_family == "inherit"; }},
      {"display", "none", SvgStatus::Ok, [](auto& s) { return !s.has(kSvgStyleDisplayed); }},
      {"display", "table-cell", SvgStatus::Ok, [](auto& s) { return s.has(kSvgStyleDisplayed); }},
      {"display", "flex", SvgStatus::Malformed, [](auto& s) { return s.has(kSvgStyleDisplayed); }},
      {"visibility", "collapse", SvgStatus::Ok, [](auto& s) { return !s.has(kSvgStyleVisible); }},
      {"visibility", "inherit", SvgStatus::Ok, [](auto& s) { return s.has(kSvgStyleVisible); }},
      {"color", "inherit", SvgStatus::Ok, [](auto& s) { return !s.has(kSvgStyleColor); }},
      {"color", "lime", SvgStatus::Ok, [](auto& s) { return s.color.rgb == 0x00ff00u; }},
      {"fill", "inherit", SvgStatus::Ok,
       [](auto& s) {
         return s.fill_paint.type == SvgPaintType::Color && s.fill_paint.color.rgb == 0;
       }},
      {"stroke", "url(#nowhere)", SvgStatus::Malformed,
       [](auto& s) { return !s.has(kSvgStyleStroke); }},
      // stop-color and stop-opacity land in color and opacity.
      {"stop-color", "#00f", SvgStatus::Ok,
       [](auto& s) { return s.has(kSvgStyleColor) && s.color.rgb == 0x0000ffu; }},
      {"stop-color", "inherit", SvgStatus::Ok, [](auto& s) { return s.color.rgb == 0; }},
      {"stop-opacity", "0.3", SvgStatus::Ok, [](auto& s) { return s.opacity == 0.3; }},
      {"no-such-property", "1", SvgStatus::Malformed,
       [](auto& s) { return s.flags == fresh_style().flags; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + ": " + c.value);
    SvgStyle style = fresh_style();
    EXPECT_EQ(SvgStyle::set_property(style, c.name, c.value), c.status);
    EXPECT_TRUE(c.check(style));
  }
}

TEST(StyleProperties, LighterAndBolderStepFromTheWeightSetBefore) {
  SvgStyle style = fresh_style();
  SvgStyle::set_property(style, "font-weight", "800");
  SvgStyle::set_property(style, "font-weight", "bolder");
  EXPECT_EQ(style.font_weight, 900);
  SvgStyle::set_property(style, "font-weight", "bolder");
  EXPECT_EQ(style.font_weight, 900);
  // On an element that set no weight the step starts at 400.
  auto p = parse_text("<svg font-weight='700'><g font-weight='lighter'/></svg>");
  EXPECT_EQ(first_style(p).font_weight, 300);
}

TEST(StyleAttribute, DeclarationsAndPresentationAttributes) {
  struct Case {
    const char* attributes;
    uint32_t fill;       // expected fill colour, or
    bool fill_set;       // whether the element sets fill at all
    const char* stroke;  // "" when not set
  };
  const Case cases[] = {
      {"style='fill:blue' fill='red'", 0xff0000, true, ""},
      {"style='fill:red;stroke:blue'", 0xff0000, true, "blue"},
      {"style='fill:red ;stroke:blue'", 0xff0000, true, "blue"},
      {"style='fill : red; stroke :\tblue\t'", 0xff0000, true, "blue"},
      {"style=' fill:red;;  stroke:blue;'", 0xff0000, true, "blue"},
      {"style='fill:red; fill:lime'", 0x00ff00, true, ""},
      {"style='fill red;stroke:blue'", 0, false, "blue"},
      {"style='fill:rgb(1,2);stroke:blue'", 0, false, "blue"},
      {"style='bogus:1;fill:#010203'", 0x010203, true, ""},
      {"fill=' red '", 0xff0000, true, ""},
      {"style='' fill='lime'", 0x00ff00, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attributes);
    auto p = parse_text(std::string("<svg><rect ") + c.attributes + "/></svg>");
    const SvgStyle& s = first_style(p);
    EXPECT_EQ(s.has(kSvgStyleFill), c.fill_set);
    if (c.fill_set) {
      EXPECT_EQ(s.fill_paint.color.rgb, c.fill);
    }
    EXPECT_EQ(s.has(kSvgStyleStroke), std::string(c.stroke) == "blue");
    if (s.has(kSvgStyleStroke)) {
      EXPECT_EQ(s.stroke_paint.color.rgb, 0x0000ffu);
    }
  }
}

TEST(StyleAttribute, RejectedPresentationAttributeStopsTheLaterOnes) {
  // Table order: fill (4) comes before fill-rule (5), which fails, so
  // stroke (17) and the id are never read.
  auto p = parse_text(
      "<svg><rect id='r' style='opacity:0.5' fill='red' fill-rule='x' stroke='blue'/></svg>");
  const SvgElement& rect = *child(p.document->root.get(), 0);
  EXPECT_EQ(rect.style.opacity, 0.5);
  EXPECT_TRUE(rect.style.has(kSvgStyleFill));
  EXPECT_FALSE(rect.style.has(kSvgStyleStroke));
  EXPECT_FALSE(rect.id.has_value());
  // stop-color on an ordinary element sets its color.
  auto q = parse_text("<svg><g stop-color='red' stop-opacity='0.5'/></svg>");
  EXPECT_EQ(first_style(q).color.rgb, 0xff0000u);
  EXPECT_EQ(first_style(q).opacity, 0.5);
}

// Paint references to elements defined later are kept and resolved when the
// parse ends; one that never resolves leaves the property unset but costs the
// element nothing else.
TEST(StyleAttribute, ForwardPaintReferencesDoNotCostTheElementItsAttributes) {
  auto p = parse_text(
      "<svg><rect id='r' fill='url(#later)' stroke='blue'/>"
      "<rect id='s' style='fill:url(#later)' fill='lime'/>"
      "<rect id='later'/></svg>");
  const SvgElement* r = find_id(p, "r");
  ASSERT_NE(r, nullptr);
  EXPECT_FALSE(r->style.has(kSvgStyleFill));  // a rect is no paint server
  EXPECT_TRUE(r->style.has(kSvgStyleStroke));
  EXPECT_EQ(r->style.pending, 0u);
  const SvgElement* s = find_id(p, "s");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->style.fill_paint.color.rgb, 0x00ff00u);
  // A backward reference to something that is no paint server fails at once.
  auto q = parse_text("<svg><rect id='a'/><rect id='b' fill='url(#a)'/></svg>");
  EXPECT_EQ(find_id(q, "b"), nullptr);
}

// Several values for one paint, some of them forward references: the tree is
// the one the same values would give if every reference pointed backwards
// (the last value that resolves wins, and a plain value drops the earlier
// references).
TEST(StyleAttribute, LaterPaintValuesOverrideEarlierForwardReferences) {
  std::unique_ptr<SvgDocument> document;
  ASSERT_EQ(SvgDocument::create(&document), SvgStatus::Ok);
  ASSERT_EQ(SvgDocument::parse_chunk_begin(*document), SvgStatus::Ok);
  const std::string head =
      "<svg><rect id='r' style='fill:url(#a)' fill='url(#b)'/>"
      "<rect id='s' style='fill:url(#a);fill:red'/>"
      "<rect id='t' style='fill:url(#a);fill:url(#missing)'/>"
      "<rect id='v' style='fill:url(#a);fill:red;fill:url(#missing)'/>";
  ASSERT_EQ(SvgDocument::parse_chunk(*document, head.data(), head.size()), SvgStatus::Ok);
  // Patterns are not read from documents yet; two stand-ins are registered
  // by hand before the parse ends.
  SvgElement* root = document->root.get();
  for (const char* id : {"a", "b"}) {
    std::unique_ptr<SvgElement> pattern;
    ASSERT_EQ(SvgElement::create(*document, SvgElementKind::Pattern, root, &pattern),
              SvgStatus::Ok);
    pattern->id.emplace(id);
    SvgElement* placed = pattern.get();
    ASSERT_EQ(SvgElement::append(*root, std::move(pattern)), SvgStatus::Ok);
    ASSERT_EQ(SvgIdTable::insert(document->ids, *placed->id, placed), SvgStatus::Ok);
  }
  ASSERT_EQ(SvgDocument::parse_chunk(*document, "</svg>", 6), SvgStatus::Ok);
  ASSERT_EQ(SvgDocument::parse_chunk_end(*document), SvgStatus::Ok);
  auto fill = [&](const char* id) {
    const SvgStyle& style = SvgIdTable::find(document->ids, id)->style;
    EXPECT_TRUE(style.has(kSvgStyleFill)) << id;
    return style.fill_paint;
  };
  EXPECT_EQ(fill("r").pattern, SvgIdTable::find(document->ids, "b"));
  EXPECT_EQ(fill("s").color.rgb, 0xff0000u);
  EXPECT_EQ(fill("t").pattern, SvgIdTable::find(document->ids, "a"));
  EXPECT_EQ(fill("v").type, SvgPaintType::Color);
  EXPECT_EQ(fill("v").color.rgb, 0xff0000u);
}

TEST(StyleCopy, DuplicatesOwnedParts) {
  SvgStyle source = fresh_style();
  SvgStyle::set_property(source, "font-family", "Serif");
  SvgStyle::set_property(source, "stroke-dasharray", "1 2");
  SvgStyle copy;
  ASSERT_EQ(SvgStyle::copy(copy, source), SvgStatus::Ok);
  SvgStyle::release(source);
  EXPECT_EQ(copy.font_family, "Serif");
  EXPECT_EQ(copy.dash_array, (std::vector<double>{1, 2}));
  EXPECT_EQ(source.flags, 0u);
  EXPECT_FALSE(source.font_family.has_value());
}

TEST(StyleEngine, SendsSetPropertiesInOrderAndStopsAtAFailure) {
  SvgStyle root = fresh_style();
  SvgStyle::apply_root_defaults(root);
  RecordingEngine engine;
  ASSERT_EQ(SvgStyle::apply_to_engine(root, engine), SvgStatus::Ok);
  const std::vector<std::string> expected = {
      "style_color #ffffff",     "style_fill_opacity 1",         "style_fill_paint #000000",
      "style_fill_rule 0",       "style_font_family sans-serif", "style_font_size 10",
      "style_font_style 0",      "style_font_weight 400",        "style_opacity 1",
      "style_dash_array 0",      "style_dash_offset 0px",        "style_line_cap 0",
      "style_line_join 1",       "style_miter_limit 4",          "style_stroke_opacity 1",
      "style_stroke_paint none", "style_stroke_width 1px",       "style_text_anchor 0"};
  EXPECT_EQ(engine.calls, expected);

  // An inner element sends only what it sets (its opacity always); the font
  // size goes as its number alone.
  SvgStyle inner = fresh_style();
  SvgStyle::parse_style_attribute(inner, "stroke-dasharray:3;font-size:2em;fill:none");
  RecordingEngine second;
  second.fail_slot("style_opacity", SvgStatus::BadValue);
  EXPECT_EQ(SvgStyle::apply_to_engine(inner, second), SvgStatus::BadValue);
  EXPECT_EQ(second.calls, (std::vector<std::string>{"style_fill_paint none", "style_font_size 2",
                                                    "style_opacity 1"}));
}

}  // namespace
