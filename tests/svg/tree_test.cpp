// Building the element tree from small SVG texts.

#include <gtest/gtest.h>

#include <string>

#include "svg/svg_document.h"
#include "svg/svg_elements_table.h"
#include "svg/svg_parser.h"
#include "tests/svg/svg_test_support.h"
#include "tests/svg/svg_tree_dump.h"

namespace {

constexpr const char* kSvgOpen = "<svg xmlns='http://www.w3.org/2000/svg'>";

std::string in_svg(const std::string& body) { return kSvgOpen + body + "</svg>"; }

TEST(ElementTable, HasTwentyEntriesInOrder) {
  const char* names[] = {
      "a",        "svg",     "g",     "path",  "line",           "rect",
      "circle",   "ellipse", "defs",  "use",   "symbol",         "polygon",
      "polyline", "text",    "tspan", "image", "linearGradient", "radialGradient",
      "stop",     "pattern"};
  for (int i = 0; i < kSvgElementEntryCount; ++i) EXPECT_EQ(kSvgElementEntries[i].name, names[i]);
  EXPECT_EQ(svg_element_entry_find("Rect"), nullptr);
  EXPECT_EQ(svg_element_entry_find("svg:rect"), nullptr);
}

TEST(CharacterData, LineFeedsDropAndBlankRunsCollapse) {
  struct Case {
    const char* in;
    const char* out;
  };
  for (Case c : {Case{"a\n  b\t\tc", "a b c"}, Case{" \n ", " "}, Case{"\n\n", ""},
                 Case{"x\r\ny", "x\ry"}, Case{"\t", " "}}) {
    std::string out = "stale";
    svg_normalise_character_data(c.in, out);
    EXPECT_EQ(out, c.out) << c.in;
  }
}

TEST(Tree, ShapesGetTheirGeometryAndDefaults) {
  auto p =
      parse_text(in_svg("<line x1='1' y1='2' x2='3mm' y2='4%'/>"
                        "<rect x='5' width='10' height='20' rx='5'/>"
                        "<rect ry='3'/>"
                        "<rect/>"
                        "<circle cx='1' cy='2'/>"
                        "<ellipse rx='7' ry='8'/>"
                        "<polygon points='0,0 10,0 10,10'/>"
                        "<polyline points='1 2 3 4'/>"
                        "<path d='M1 2L3 4z'/>"));
  ASSERT_EQ(p.status, SvgStatus::Ok);
  std::string tree = dump_tree(*p.document);
  const SvgElement* root = p.document->root.get();
  ASSERT_EQ(child_count(root), 9u);
  EXPECT_NE(tree.find("line=1/8/0,2/8/1,3/4/0,4/6/1"), std::string::npos) << tree;
  // rx without ry copies into ry and the other way round; neither gives 0.
  EXPECT_NE(tree.find("rect=5/8/0,0/8/1,10/8/0,20/8/1,5/8/0,5/8/0"), std::string::npos);
  EXPECT_NE(tree.find("rect=0/8/0,0/8/1,0/8/0,0/8/1,3/8/1,3/8/1"), std::string::npos);
  EXPECT_NE(tree.find("rect=0/8/0,0/8/1,0/8/0,0/8/1,0/8/0,0/8/1"), std::string::npos);
  // A circle without r has radius 100 %, horizontally in rx and vertically in ry.
  EXPECT_NE(tree.find("ellipse=1/8/0,2/8/1,100/6/0,100/6/1"), std::string::npos);
  EXPECT_NE(tree.find("ellipse=0/8/0,0/8/1,7/8/0,8/8/1"), std::string::npos);
  EXPECT_NE(tree.find("d=0,0,0;2,10,0;2,10,10;18;"), std::string::npos);
  EXPECT_NE(tree.find("d=0,1,2;2,3,4;\n"), std::string::npos);
  EXPECT_NE(tree.find("d=0,1,2;2,3,4;18;"), std::string::npos);
  EXPECT_EQ(child(root, 6)->kind, SvgElementKind::Path);
}

TEST(Tree, RootGetsDefaultsAndViewport) {
  auto p = parse_text("<svg width='200' height='10cm'><g/></svg>");
  ASSERT_EQ(p.status, SvgStatus::Ok);
  const SvgElement& root = *p.document->root;
  EXPECT_EQ(root.kind, SvgElementKind::Svg);
  EXPECT_EQ(root.depth, 0u);
  EXPECT_EQ(root.group()->width.value, 200);
  EXPECT_EQ(root.group()->height.unit(), SvgLengthUnit::Cm);
  EXPECT_FALSE(root.group()->view_box.present());
  // The root sets every property; an inner element only its opacity.
  EXPECT_TRUE(root.style.has(kSvgStyleFill) && root.style.has(kSvgStyleTextAnchor));
  const SvgElement& g = *child(&root, 0);
  EXPECT_EQ(g.style.flags, kSvgStyleDisplayed | kSvgStyleVisible | kSvgStyleOpacity);
  EXPECT_EQ(g.parent, &root);
  EXPECT_EQ(g.depth, 1u);
  auto nested = parse_text("<svg><svg width='5'/></svg>");
  const SvgElement& inner = *child(nested.document->root.get(), 0);
  EXPECT_EQ(inner.kind, SvgElementKind::Svg);
  EXPECT_FALSE(inner.style.has(kSvgStyleFill));  // root defaults only for the outermost
  EXPECT_EQ(inner.group()->height.unit(), SvgLengthUnit::Percent);
}

TEST(Tree, ViewBoxAndAspectRatio) {
  struct Case {
    const char* attributes;
    double numbers[4];
    SvgAlign align;
    SvgMeetOrSlice mode;
  };
  const Case cases[] = {
      {"viewBox='0 0 100 50'", {0, 0, 100, 50}, SvgAlign::None, SvgMeetOrSlice::NotGiven},
      {"viewBox='1,2, 3 ,4' preserveAspectRatio='none'",
       {1, 2, 3, 4},
       SvgAlign::None,
       SvgMeetOrSlice::NotGiven},
      {"viewBox='0 0 1 1' preserveAspectRatio='xMidYMid slice'",
       {0, 0, 1, 1},
       SvgAlign::XMidYMid,
       SvgMeetOrSlice::Slice},
      {"viewBox='0 0 1 1' preserveAspectRatio='xmidymid meet'",
       {0, 0, 1, 1},
       SvgAlign::None,
       SvgMeetOrSlice::Meet},
      {"viewBox='0 0 1 1' preserveAspectRatio='xMaxYMax'",
       {0, 0, 1, 1},
       SvgAlign::XMaxYMax,
       SvgMeetOrSlice::NotGiven},
      {"viewBox='0 0 1 1' preserveAspectRatio='xMinYMin  bogus'",
       {0, 0, 1, 1},
       SvgAlign::XMinYMin,
       SvgMeetOrSlice::NotGiven},
      // Fewer than four numbers: the missing ones are 0, the viewBox counts.
      {"viewBox='5 6'", {5, 6, 0, 0}, SvgAlign::None, SvgMeetOrSlice::NotGiven},
      {"preserveAspectRatio='xMidYMid slice'",
       {0, 0, 0, 0},
       SvgAlign::Absent,
       SvgMeetOrSlice::NotGiven},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attributes);
    auto p = parse_text(std::string("<svg ") + c.attributes + "/>");
    const SvgViewBox& box = p.document->root->group()->view_box;
    EXPECT_EQ(box.x, c.numbers[0]);
    EXPECT_EQ(box.y, c.numbers[1]);
    EXPECT_EQ(box.width, c.numbers[2]);
    EXPECT_EQ(box.height, c.numbers[3]);
    EXPECT_EQ(box.align(), c.align);
    EXPECT_EQ(box.meet_or_slice(), c.mode);
  }
}

TEST(Tree, UnlistedAndUnplacedElementsAreSkippedWithTheirSubtree) {
  struct Case {
    const char* text;
    const char* expected_kinds;  // kinds of the root's children, in order
  };
  const Case cases[] = {
      {"<svg><foo><rect/></foo><circle/></svg>", "6"},
      {"<svg><svg:rect xmlns:svg='x'/><rect/></svg>", "9"},
      {"<svg><RECT/></svg>", ""},
      // Elements read by a later stage are skipped whole for now.
      {"<svg><text><rect/></text><linearGradient><stop/></linearGradient><line/></svg>", "8"},
      // "a" builds nothing; its children join the enclosing container.
      {"<svg><a transform='scale(9)' fill='red'><rect/><g><line/></g></a></svg>", "91"},
      // Children of a leaf join the leaf's container.
      {"<svg><rect><circle/></rect></svg>", "96"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    auto p = parse_text(c.text);
    EXPECT_EQ(p.status, SvgStatus::Ok);
    ASSERT_TRUE(p.document->root);
    std::string kinds;
    for (const auto& e : p.document->root->group()->children) {
      kinds += std::to_string(static_cast<int>(e->kind));
      EXPECT_EQ(e->transform.a, 1.0);
      EXPECT_FALSE(e->style.has(kSvgStyleFill));
    }
    EXPECT_EQ(kinds, c.expected_kinds);
    EXPECT_EQ(p.document->parser.unlisted_depth, 0);
  }
  // Without an outermost "svg" nothing is built.
  for (const char* text : {"<html><svg><rect/></svg></html>", "<g><rect/></g>", "<rect/>"}) {
    auto p = parse_text(text);
    EXPECT_EQ(p.status, SvgStatus::Ok) << text;
    EXPECT_FALSE(p.document->root) << text;
  }
  // A second outermost "svg" does not replace the first tree.
  auto p = parse_text("<a><svg id='one'/><svg id='two'/></a>");
  ASSERT_TRUE(p.document->root);
  EXPECT_EQ(*p.document->root->id, "one");
  EXPECT_EQ(find_id(p, "two"), nullptr);
}

// A failing step leaves the element in the tree without the common
// attributes that come after the failure; the status reports the failure
// only until the next handler runs.
TEST(Tree, FailuresLeaveElementsWithoutLaterAttributes) {
  struct Case {
    const char* element;  // an open start tag, so no end tag resets the status
    SvgStatus status;
    bool built;
    bool has_id;
    double transform_a;
    bool has_fill;
  };
  const Case cases[] = {
      {"<circle r='-1' id='e' transform='scale(2)' fill='red'>", SvgStatus::Malformed, true, false,
       1, false},
      {"<ellipse ry='-0' id='e' transform='scale(2)'>", SvgStatus::Ok, true, true, 2, false},
      {"<ellipse rx='-1' id='e'>", SvgStatus::Malformed, true, false, 1, false},
      {"<rect style='fill:red' fill-rule='bogus' id='e' width='5'>", SvgStatus::Malformed, true,
       false, 1, true},
      {"<rect transform='scale(2) bogus(1)' fill='red' id='e'>", SvgStatus::Malformed, true, false,
       2, false},
      {"<polygon id='e' fill='red'>", SvgStatus::Malformed, false, false, 1, false},
      {"<polyline points='0,0 10' id='e' fill='red'>", SvgStatus::Malformed, true, false, 1, false},
      // "d" is read after the id, so the path keeps its id but is not registered.
      {"<path id='e' fill='red'>", SvgStatus::Malformed, true, true, 1, true},
      {"<path d='M0 0 L10 10 Z 5 5' id='e'>", SvgStatus::Malformed, true, true, 1, false},
      {"<g display='bogus' id='e'>", SvgStatus::Malformed, true, false, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.element);
    std::unique_ptr<SvgDocument> document;
    ASSERT_EQ(SvgDocument::create(&document), SvgStatus::Ok);
    std::string text = std::string("<svg>") + c.element;
    ASSERT_EQ(SvgDocument::parse_chunk_begin(*document), SvgStatus::Ok);
    EXPECT_EQ(SvgDocument::parse_chunk(*document, text.data(), text.size()), c.status);
    // The next handler overwrites the status, and the parse goes on.
    std::string rest = "<rect id='after'/>";
    EXPECT_EQ(SvgDocument::parse_chunk(*document, rest.data(), rest.size()), SvgStatus::Ok);
    const SvgElement* e = child(document->root.get(), 0);
    ASSERT_EQ(e != nullptr && e->id.value_or("") != "after", c.built);
    EXPECT_NE(SvgIdTable::find(document->ids, "after"), nullptr);
    if (!c.built) continue;
    EXPECT_EQ(e->id.has_value(), c.has_id);
    EXPECT_EQ(SvgIdTable::find(document->ids, "e"), c.status == SvgStatus::Ok ? e : nullptr);
    EXPECT_EQ(e->transform.a, c.transform_a);
    EXPECT_EQ(e->style.has(kSvgStyleFill), c.has_fill);
  }
}

TEST(Tree, RectGeometryAppliesEvenWhenAPresentationAttributeFails) {
  auto p = parse_text(in_svg("<rect width='5' fill-rule='bogus' style='stroke:red'/>"));
  const SvgElement& rect = *child(p.document->root.get(), 0);
  EXPECT_EQ(std::get<SvgRectShape>(rect.data).width.value, 5);
  EXPECT_TRUE(rect.style.has(kSvgStyleStroke));
}

TEST(Ids, FirstElementKeepsTheIdAndCopiesAreNotRegistered) {
  auto p =
      parse_text(in_svg("<rect id='r' width='1'/><rect id='r' width='2'/>"
                        "<use id='u' xlink:href='#r'/>"));
  SvgElement* r = find_id(p, "r");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(std::get<SvgRectShape>(r->data).width.value, 1);
  const SvgElement* use = find_id(p, "u");
  ASSERT_EQ(child_count(use), 1u);
  const SvgElement* copy = child(use, 0);
  EXPECT_EQ(std::get<SvgRectShape>(copy->data).width.value, 1);
  EXPECT_EQ(*copy->id, "r");      // the id text is copied ...
  EXPECT_EQ(find_id(p, "r"), r);  // ... but the table still names the original
  EXPECT_EQ(find_id(p, "R"), nullptr);
}

TEST(Use, CopiesItsTargetAsFirstChild) {
  auto p = parse_text(
      in_svg("<g id='t' transform='translate(1 2)' style='fill:red;font-family:A, \"B\"'>"
             "<circle r='3'/><path d='M0 0 C1 1 2 2 3 3'/></g>"
             "<use id='u' href='#t' x='7' y='8mm' width='9' height='10'><rect id='own'/></use>"));
  ASSERT_EQ(p.status, SvgStatus::Ok);
  const SvgElement* target = find_id(p, "t");
  SvgElement* use = find_id(p, "u");
  ASSERT_EQ(child_count(use), 2u);
  const SvgElement* copy = child(use, 0);
  EXPECT_EQ(*child(use, 1)->id, "own");
  // The copy has the original's parent and everything the original has.
  EXPECT_EQ(copy->parent, target->parent);
  EXPECT_EQ(copy->depth, use->depth + 1);
  std::string original_dump, copy_dump;
  dump_element(*target, 0, original_dump);
  dump_element(*copy, 0, copy_dump);
  EXPECT_EQ(copy_dump, original_dump);
  EXPECT_NE(copy->style.font_family->data(), target->style.font_family->data());
  EXPECT_EQ(use->group()->x.value, 7);
  EXPECT_EQ(use->group()->y.unit(), SvgLengthUnit::Mm);
  EXPECT_EQ(use->group()->width.value, 9);
}

TEST(Use, SymbolCopiesTakeTheUseSize) {
  auto p =
      parse_text(in_svg("<symbol id='with' viewBox='0 0 10 10'><rect/></symbol>"
                        "<symbol id='without'><rect/></symbol>"
                        "<use id='a' xlink:href='#with' width='50' height='60'/>"
                        "<use id='b' xlink:href='#without'/>"
                        "<use id='c' xlink:href='#missing' width='50' x='3'/>"
                        "<use id='d' xlink:href=''/>"));
  const SvgElement* a = child(find_id(p, "a"), 0);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->kind, SvgElementKind::Group);
  EXPECT_EQ(a->group()->width.value, 50);
  EXPECT_EQ(a->group()->height.value, 60);
  EXPECT_EQ(a->group()->view_box.width, 10);
  const SvgElement* b = child(find_id(p, "b"), 0);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->kind, SvgElementKind::Symbol);
  EXPECT_EQ(b->group()->width.unit(), SvgLengthUnit::Percent);
  // An unresolved use stays empty with its initial size and position.
  for (const char* id : {"c", "d"}) {
    const SvgElement* use = find_id(p, id);
    EXPECT_EQ(child_count(use), 0u) << id;
    EXPECT_EQ(use->group()->width.value, 0) << id;
    EXPECT_EQ(use->group()->x.value, 0) << id;
  }
}

// A reference to an element defined later resolves when the parse ends, so a
// document builds the same tree whichever order it defines things in.
TEST(Use, ForwardReferencesGiveTheSameTreeAsBackwardOnes) {
  struct Case {
    const char* defs_first;
    const char* defs_last;
  };
  const Case cases[] = {
      {"<rect id='r' width='3'/><use xlink:href='#r' x='1'/>",
       "<use xlink:href='#r' x='1'/><rect id='r' width='3'/>"},
      // A chain: each use's target holds a use that must be resolved first.
      {"<rect id='a'/><g id='b'><use href='#a'/></g><g id='c'><use href='#b'/><use href='#b'/></g>"
       "<use href='#c'/>",
       "<use href='#c'/><g id='c'><use href='#b'/><use href='#b'/></g><g id='b'><use href='#a'/>"
       "</g><rect id='a'/>"},
      // Waiting references at different depths of one target.
      {"<rect id='x'/><circle id='y'/><g id='p'><g><use href='#x'/></g><g><g><use href='#y'/>"
       "</g><use href='#x'/></g></g><use href='#p'/>",
       "<use href='#p'/><g id='p'><g><use href='#x'/></g><g><g><use href='#y'/></g>"
       "<use href='#x'/></g></g><rect id='x'/><circle id='y'/>"},
      {"<symbol id='s' viewBox='0 0 1 1'><circle r='1'/></symbol><use href='#s' width='4'/>",
       "<use href='#s' width='4'/><symbol id='s' viewBox='0 0 1 1'><circle r='1'/></symbol>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.defs_last);
    auto first = parse_text(in_svg(c.defs_first));
    auto last = parse_text(in_svg(c.defs_last));
    ASSERT_EQ(first.status, SvgStatus::Ok);
    ASSERT_EQ(last.status, SvgStatus::Ok);
    // Compare the uses' contents; the order of the definitions themselves differs.
    auto uses = [](const ParsedDocument& p) {
      std::string out;
      std::vector<const SvgElement*> work{p.document->root.get()};
      while (!work.empty()) {
        const SvgElement* e = work.back();
        work.pop_back();
        if (e->kind == SvgElementKind::Use && e->parent == p.document->root.get()) {
          dump_element(*e, 0, out);
        }
        if (e->group()) {
          for (const auto& ch : e->group()->children) work.push_back(ch.get());
        }
      }
      return out;
    };
    EXPECT_EQ(uses(last), uses(first));
    EXPECT_FALSE(uses(first).empty());
  }
}

TEST(Use, ReferenceCyclesStayUnresolved) {
  auto p =
      parse_text(in_svg("<use id='u1' href='#u2'/><use id='u2' href='#u1'/>"
                        "<use id='self' href='#g'/><g id='g'><use id='inner' href='#self'/></g>"
                        "<use id='outside' href='#u1'/>"));
  ASSERT_EQ(p.status, SvgStatus::Ok);
  for (const char* id : {"u1", "u2", "self", "inner"}) {
    EXPECT_EQ(child_count(find_id(p, id)), 0u) << id;
  }
  // So does a use that depends on one.
  EXPECT_EQ(child_count(find_id(p, "outside")), 0u);
  // A backward reference to an ancestor copies the ancestor as it is so far.
  auto q = parse_text(in_svg("<g id='g'><rect/><use id='u' href='#g'/></g>"));
  const SvgElement* copy = child(find_id(q, "u"), 0);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(child_count(copy), 2u);
  EXPECT_EQ(child_count(child(copy, 1)), 0u);
}

TEST(Limits, NestingDeeperThanTheLimitIsSkipped) {
  const int levels = static_cast<int>(kSvgMaxDepth) + 500;
  std::string text = "<svg>";
  for (int i = 0; i < levels; ++i) text += "<g>";
  text += "<rect/>";
  for (int i = 0; i < levels; ++i) text += "</g>";
  text += "<circle/></svg>";
  auto p = parse_text(text);
  ASSERT_EQ(p.status, SvgStatus::Ok);
  uint32_t deepest = 0;
  const SvgElement* e = p.document->root.get();
  while (child_count(e) > 0) {
    e = child(e, 0);
    deepest = e->depth;
  }
  EXPECT_EQ(deepest, kSvgMaxDepth - 1);  // frames, not elements, are counted: the root is one
  EXPECT_EQ(e->kind, SvgElementKind::Group);
  ASSERT_EQ(child_count(p.document->root.get()), 2u);
  EXPECT_EQ(child(p.document->root.get(), 1)->kind, SvgElementKind::Circle);
  // A copy placed deep is cut at the same depth; the chain copies of copies stay bounded.
  std::string chain = "<svg><g id='d0'>";
  for (int i = 0; i < 40; ++i) chain += "<g>";
  chain += "<rect/>";
  for (int i = 0; i < 40; ++i) chain += "</g>";
  chain += "</g>";
  for (int i = 1; i < 100; ++i) {
    chain += "<use id='d" + std::to_string(i) + "' href='#d" + std::to_string(i - 1) + "'/>";
  }
  chain += "</svg>";
  auto q = parse_text(chain);
  uint32_t max_depth = 0;
  std::vector<const SvgElement*> work{q.document->root.get()};
  while (!work.empty()) {
    const SvgElement* x = work.back();
    work.pop_back();
    max_depth = std::max(max_depth, x->depth);
    if (x->group()) {
      for (const auto& ch : x->group()->children) work.push_back(ch.get());
    }
  }
  EXPECT_EQ(max_depth, 1 + 99 + 41u);
}

TEST(Limits, ExponentialUseChainsStopAtTheElementLimit) {
  std::string text = "<svg><rect id='u0'/>";
  for (int i = 1; i < 40; ++i) {
    std::string prev = "#u" + std::to_string(i - 1);
    text += "<g id='u" + std::to_string(i) + "'><use href='" + prev + "'/><use href='" + prev +
            "'/></g>";
  }
  text += "</svg>";
  for (bool forward : {false, true}) {
    std::unique_ptr<SvgDocument> document;
    SvgDocument::create(&document);
    document->element_limit = 100000;
    std::string input = text;
    if (forward) {  // the same chain written last-first
      input = "<svg>";
      for (int i = 39; i >= 1; --i) {
        std::string prev = "#u" + std::to_string(i - 1);
        input += "<g id='u" + std::to_string(i) + "'><use href='" + prev + "'/><use href='" + prev +
                 "'/></g>";
      }
      input += "<rect id='u0'/></svg>";
    }
    EXPECT_EQ(SvgDocument::parse_buffer(*document, input.data(), input.size()),
              SvgStatus::OutOfMemory);
    EXPECT_LE(document->element_count, document->element_limit);
    EXPECT_GT(document->element_count, document->element_limit / 2);
  }
}

// Bytes held outside the element records (path blocks, font family texts,
// dash lists) in the whole tree.
uint64_t owned_bytes(const SvgElement& root) {
  uint64_t bytes = 0;
  std::vector<const SvgElement*> work{&root};
  while (!work.empty()) {
    const SvgElement* e = work.back();
    work.pop_back();
    if (const auto* path = std::get_if<SvgPath>(&e->data)) {
      for (auto* b = path->commands; b; b = b->next) bytes += sizeof *b;
      for (auto* b = path->numbers; b; b = b->next) bytes += sizeof *b;
    }
    if (e->style.font_family) bytes += e->style.font_family->size();
    bytes += e->style.dash_array.size() * sizeof(double);
    if (e->group()) {
      for (const auto& ch : e->group()->children) work.push_back(ch.get());
    }
  }
  return bytes;
}

// Few elements can still hold much: a doubling chain of uses over one long
// path (or long font family, or long dash list) would multiply its data far
// beyond the input's size while staying under the element limit.
TEST(Limits, CopiesOfLargeDataStopAtTheCopyLimit) {
  std::string long_path = "M0 0";
  for (int i = 0; i < 4000; ++i) long_path += " L1 2";
  std::string long_dashes;
  for (int i = 0; i < 4000; ++i) long_dashes += "1 2 ";
  const std::string targets[] = {
      "<path id='u0' d='" + long_path + "'/>",
      "<rect id='u0' font-family='" + std::string(40000, 'F') + "'/>",
      "<rect id='u0' stroke-dasharray='" + long_dashes + "'/>",
  };
  for (const std::string& target : targets) {
    SCOPED_TRACE(target.substr(0, 30));
    std::string text = "<svg>" + target;
    for (int i = 1; i < 30; ++i) {
      std::string prev = "#u" + std::to_string(i - 1);
      text += "<g id='u" + std::to_string(i) + "'><use href='" + prev + "'/><use href='" + prev +
              "'/></g>";
    }
    text += "</svg>";
    std::unique_ptr<SvgDocument> document;
    SvgDocument::create(&document);
    document->copy_byte_limit = 4u << 20;
    EXPECT_EQ(SvgDocument::parse_buffer(*document, text.data(), text.size()),
              SvgStatus::OutOfMemory);
    const uint64_t original = owned_bytes(*child(document->root.get(), 0));
    EXPECT_LE(owned_bytes(*document->root), original + document->copy_byte_limit);
    EXPECT_GT(owned_bytes(*document->root), document->copy_byte_limit / 2);
  }
}

// Many uses of one large target that waits for a later definition: deciding
// and settling each use must not walk the target again (a walk per use would
// not finish within the test timeout here).
TEST(Limits, ManyUsesOfAWaitingTargetStayLinear) {
  std::string text = "<svg><g id='big'><use href='#later'/>";
  for (int i = 0; i < 50000; ++i) text += "<rect/>";
  text += "</g>";
  for (int i = 0; i < 50000; ++i) text += "<use href='#big'/>";
  text += "<rect id='later'/></svg>";
  std::unique_ptr<SvgDocument> document;
  SvgDocument::create(&document);
  document->element_limit = 300000;
  EXPECT_EQ(SvgDocument::parse_buffer(*document, text.data(), text.size()), SvgStatus::OutOfMemory);
  EXPECT_LE(document->element_count, document->element_limit);
  const SvgElement* big = SvgIdTable::find(document->ids, "big");
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(child_count(child(big, 0)), 1u);  // the forward reference inside was settled first
  EXPECT_EQ(big->pending_below, 0u);
}

TEST(Document, MalformedXmlKeepsWhatWasBuilt) {
  auto p = parse_text("<svg><rect id='r'/><g><circle/></svg>");
  EXPECT_EQ(p.status, SvgStatus::Malformed);
  ASSERT_TRUE(p.document->root);
  EXPECT_NE(find_id(p, "r"), nullptr);
  EXPECT_EQ(child_count(p.document->root.get()), 2u);
  auto truncated = parse_text("<svg><use href='#later'/><rect id='later'/><g");
  EXPECT_EQ(truncated.status, SvgStatus::Malformed);
  // The parse is ended even so, and the forward reference resolved.
  EXPECT_EQ(child_count(child(truncated.document->root.get(), 0)), 1u);
  EXPECT_FALSE(truncated.document->parser.expat);
}

}  // namespace
