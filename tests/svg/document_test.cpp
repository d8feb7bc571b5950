// The document's entry points: files plain and gzip, chunked feeding, call
// order, and recovery from failing allocations.

#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "svg/svg_document.h"
#include "tests/svg/recording_engine.h"
#include "tests/svg/svg_test_support.h"
#include "tests/svg/svg_tree_dump.h"

namespace {

// Inputs exercising most of the tree building; the chunked and failing
// allocation tests run over all of them.
const char* const kInputs[] = {
    "<svg width='100' height='50' viewBox='0 0 10 5' preserveAspectRatio='xMidYMid meet'>"
    "<g transform='translate(1,2) rotate(30)' style='fill:red;stroke:#00f;stroke-width:2'>"
    "<rect id='r' x='1' y='2' width='3' height='4' rx='1'/><circle cx='5' cy='5' r='2'/>"
    "<ellipse rx='1' ry='2'/><line x1='0' y1='0' x2='9' y2='9'/>"
    "<polygon points='0,0 5,0 5,5'/><polyline points='1 1 2 2'/>"
    "<path d='M0 0 C1 2 3 4 5 6 S7 8 9 10 Q1 1 2 2 T3 3 A5 5 0 1 0 10 10 Z'/></g>"
    "<use href='#r' x='10'/><use xlink:href='#sym' width='20' height='20'/>"
    "<symbol id='sym' viewBox='0 0 2 2'><rect width='2' height='2' font-family='Sans'/></symbol>"
    "</svg>",
    "<?xml version='1.0'?>\n<!-- comment -->\n<svg xmlns:xlink='http://www.w3.org/1999/xlink'>"
    "<defs><g id='a'><rect stroke-dasharray='1 2 3'/><use xlink:href='#b'/></g></defs>"
    "<use xlink:href='#a'/><use xlink:href='#a'/><g id='b'><circle r='1'/></g>"
    "<unknown><rect/></unknown><a><rect id='in-a'/></a>\n  text  \n</svg>",
    "<svg><circle r='-1'/><rect fill-rule='x' id='bad'/><path/><polygon/>"
    "<g display='none' visibility='hidden'><line/></g><use href='#nothing'/></svg>",
    "<svg><g><g><g><path d='M0 0 L1 1 L2 2 L3 3 L4 4 L5 5 L6 6 L7 7 L8 8 L9 9 L10 10 L11 11 "
    "L12 12 L13 13 L14 14 L15 15 L16 16 L17 17 L18 18 L19 19 L20 20 L21 21 L22 22 L23 23 L24 24'/>"
    "</g></g></g></svg>",
};

std::filesystem::path temp_path(const std::string& name) {
  return std::filesystem::temp_directory_path() /
         ("plotmira_svgdoc_" + std::to_string(getpid()) + "_" + name);
}

TEST(DocumentFiles, PlainAndGzipFilesBuildTheSameTree) {
  std::string text = kInputs[0];
  for (int i = 0; i < 400; ++i) text.insert(text.size() - 6, "<rect width='1' height='2'/>");
  auto plain = temp_path("plain.svg");
  auto gzipped = temp_path("packed.svgz");
  std::ofstream(plain, std::ios::binary) << text;
  gzFile out = gzopen(gzipped.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  ASSERT_EQ(gzwrite(out, text.data(), static_cast<unsigned>(text.size())),
            static_cast<int>(text.size()));
  gzclose(out);

  auto reference = parse_text(text);
  for (const auto& path : {plain, gzipped}) {
    std::unique_ptr<SvgDocument> document;
    SvgDocument::create(&document);
    EXPECT_EQ(SvgDocument::parse_file(*document, path.string()), SvgStatus::Ok) << path;
    EXPECT_EQ(dump_tree(*document), dump_tree(*reference.document)) << path;
    EXPECT_EQ(document->base_directory, path.parent_path().string());
    EXPECT_FALSE(document->parser.expat);
  }
  // An open descriptor is read from its start.
  FILE* file = std::fopen(gzipped.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  std::fgetc(file);
  std::unique_ptr<SvgDocument> document;
  SvgDocument::create(&document);
  EXPECT_EQ(SvgDocument::parse_open_file(*document, fileno(file)), SvgStatus::Ok);
  EXPECT_EQ(dump_tree(*document), dump_tree(*reference.document));
  std::fclose(file);
  std::filesystem::remove(plain);
  std::filesystem::remove(gzipped);
}

TEST(DocumentFiles, OpenFailuresAndBrokenFiles) {
  std::unique_ptr<SvgDocument> document;
  SvgDocument::create(&document);
  EXPECT_EQ(SvgDocument::parse_file(*document, "/nonexistent/dir/x.svg"), SvgStatus::NoSuchFile);
  EXPECT_EQ(document->base_directory, "/nonexistent/dir");
  EXPECT_EQ(SvgDocument::parse_file(*document, std::filesystem::temp_directory_path().string()),
            SvgStatus::ReadFailed);  // a directory
  // A damaged gzip stream: the rectangle before the damage survives.
  std::string text = "<svg><rect id='first'/>";
  for (int i = 0; i < 2000; ++i) text += "<rect width='" + std::to_string(i) + "'/>";
  text += "</svg>";
  auto path = temp_path("broken.svgz");
  gzFile out = gzopen(path.c_str(), "wb");
  gzwrite(out, text.data(), static_cast<unsigned>(text.size()));
  gzclose(out);
  std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
  EXPECT_NE(SvgDocument::parse_file(*document, path.string()), SvgStatus::Ok);
  EXPECT_NE(SvgIdTable::find(document->ids, "first"), nullptr);
  EXPECT_FALSE(document->parser.expat);
  std::filesystem::remove(path);
  EXPECT_EQ(SvgDocument::parse_file(*document, "bare-name-that-does-not-exist.svg"),
            SvgStatus::NoSuchFile);
  EXPECT_EQ(document->base_directory, "");
}

TEST(DocumentCalls, WrongCallOrder) {
  std::unique_ptr<SvgDocument> document;
  SvgDocument::create(&document);
  EXPECT_EQ(SvgDocument::parse_chunk(*document, "<svg/>", 6), SvgStatus::WrongCallOrder);
  EXPECT_EQ(SvgDocument::parse_chunk_end(*document), SvgStatus::WrongCallOrder);
  ASSERT_EQ(SvgDocument::parse_chunk_begin(*document), SvgStatus::Ok);
  EXPECT_EQ(SvgDocument::parse_chunk_begin(*document), SvgStatus::WrongCallOrder);
  EXPECT_EQ(SvgDocument::parse_chunk(*document, "<svg/>", 6), SvgStatus::WrongCallOrder);
  EXPECT_EQ(SvgDocument::parse_chunk_end(*document), SvgStatus::WrongCallOrder);
  // A later parse starts afresh and replaces the tree.
  auto text = std::string("<svg><rect id='x'/></svg>");
  EXPECT_EQ(SvgDocument::parse_buffer(*document, text.data(), text.size()), SvgStatus::Ok);
  EXPECT_EQ(SvgDocument::parse_buffer(*document, "<svg/>", 6), SvgStatus::Ok);
  EXPECT_EQ(SvgIdTable::find(document->ids, "x"), nullptr);
  EXPECT_EQ(document->element_count, 1u);
  EXPECT_DOUBLE_EQ(SvgDocument::get_dpi(*document), 90.0);
}

TEST(DocumentChunks, ByteAtATimeBuildsTheSameTree) {
  for (const char* input : kInputs) {
    SCOPED_TRACE(input);
    auto whole = parse_text(input);
    auto bytewise = parse_bytewise(input);
    EXPECT_EQ(bytewise.status, whole.status);
    EXPECT_EQ(dump_tree(*bytewise.document), dump_tree(*whole.document));
  }
}

// Every counted allocation is failed in turn: each parse reports
// OutOfMemory, leaves a consistent tree, and leaks nothing (the sanitizer
// build checks the last).
TEST(DocumentAllocations, EachFailureIsReportedAndRecovered) {
  for (const char* input : kInputs) {
    SCOPED_TRACE(input);
    std::string expected = dump_tree(*parse_text(input).document);
    int failures = 0;
    for (int64_t n = 0;; ++n) {
      std::unique_ptr<SvgDocument> document;
      SvgDocument::create(&document);
      document->fail_allocation_after = n;
      SvgStatus status = SvgDocument::parse_buffer(*document, input, std::strlen(input));
      if (document->fail_allocation_after >= 0) {  // the parse needed fewer allocations
        EXPECT_NE(status, SvgStatus::OutOfMemory);
        EXPECT_EQ(dump_tree(*document), expected);
        break;
      }
      ++failures;
      EXPECT_EQ(status, SvgStatus::OutOfMemory) << n;
      EXPECT_FALSE(document->parser.expat);
      std::string tree = dump_tree(*document);  // walks every element
      EXPECT_FALSE(tree.empty());
      EXPECT_EQ(document->pending_uses.size() + document->pending_paints.size(), 0u);
    }
    EXPECT_GT(failures, 5);
  }
}

TEST(DocumentAllocations, ElementLimitCountsCopies) {
  const std::string text = kInputs[1];
  auto reference = parse_text(text);
  const uint64_t needed = reference.document->element_count;
  for (uint64_t limit = 0; limit <= needed; ++limit) {
    std::unique_ptr<SvgDocument> document;
    SvgDocument::create(&document);
    document->element_limit = limit;
    SvgStatus status = SvgDocument::parse_buffer(*document, text.data(), text.size());
    EXPECT_EQ(status, limit < needed ? SvgStatus::OutOfMemory : SvgStatus::Ok) << limit;
    EXPECT_LE(document->element_count, limit);
  }
}

}  // namespace

namespace {

TEST(DocumentFiles, SampleDrawingParses) {
  std::unique_ptr<SvgDocument> document;
  SvgDocument::create(&document);
  ASSERT_EQ(SvgDocument::parse_file(*document, PLOTMIRA_SOURCE_DIR "/samples/sample.svg"),
            SvgStatus::Ok);
  ASSERT_TRUE(document->root);
  const SvgElement* house = SvgIdTable::find(document->ids, "house");
  ASSERT_NE(house, nullptr);
  EXPECT_EQ(child_count(house), 5u);
  // Both trees are symbol copies drawn as viewports.
  size_t trees = 0;
  for (const auto& e : document->root->group()->children) {
    if (e->kind == SvgElementKind::Use && child_count(e.get()) == 1 &&
        child(e.get(), 0)->kind == SvgElementKind::Group) {
      ++trees;
    }
  }
  EXPECT_EQ(trees, 2u);
}

// Real files written by an editor: every one parses, builds a root, and
// builds the same tree when fed byte by byte.
TEST(DocumentFiles, RealIconsParse) {
  const std::filesystem::path folder = PLOTMIRA_SOURCE_DIR "/../shared/corpus/svg-real/icons";
  if (!std::filesystem::is_directory(folder)) GTEST_SKIP() << "no corpus at " << folder;
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".svg") continue;
    SCOPED_TRACE(entry.path().string());
    std::unique_ptr<SvgDocument> document;
    SvgDocument::create(&document);
    EXPECT_EQ(SvgDocument::parse_file(*document, entry.path().string()), SvgStatus::Ok);
    ASSERT_TRUE(document->root);
    if (files++ % 16 == 0) {
      std::ifstream in(entry.path(), std::ios::binary);
      std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      EXPECT_EQ(dump_tree(*parse_bytewise(text).document), dump_tree(*document));
    }
  }
  EXPECT_GT(files, 100u);
}

}  // namespace
