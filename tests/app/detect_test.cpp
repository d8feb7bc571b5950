#include "app/detect.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "tests/app/temp_dir.h"

namespace {

using namespace std::string_literals;

// A gzip member around `text`; `stored_name` goes into the header's name
// field when not empty.
std::string gzip(const std::string& text, const std::string& stored_name = "") {
  z_stream z{};
  EXPECT_EQ(deflateInit2(&z, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
  gz_header header{};
  std::string name = stored_name;  // deflate needs it zero-terminated and alive
  if (!name.empty()) {
    header.name = reinterpret_cast<Bytef*>(name.data());
    deflateSetHeader(&z, &header);
  }
  std::string out(deflateBound(&z, text.size()) + name.size() + 64, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  z.avail_in = static_cast<uInt>(text.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

const std::string kSvg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\"/>\n";
const std::string kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
const std::string kBom = "\xEF\xBB\xBF";
std::string comment(std::size_t length) { return "<!--" + std::string(length, 'c') + "-->\n"; }

struct DetectCase {
  const char* name;
  std::string bytes;
  DocumentKind expected;
};

const DetectCase kCases[] = {
    {"empty", "", DocumentKind::Unrecognised},
    {"plain_text", "hello, world\n", DocumentKind::Unrecognised},
    {"bom_text", kBom + "plain text\n", DocumentKind::Utf8Text},
    {"bom_svg_declared", kBom + kDecl + kSvg, DocumentKind::Svg},
    {"bom_svg_undeclared", kBom + kSvg, DocumentKind::Svg},
    {"bom_other_xml", kBom + kDecl + "<note/>", DocumentKind::Utf8Text},
    {"bom_word_xml", kBom + kDecl + "<?mso progid=\"Word.Document\"?><svg/>",
     DocumentKind::Utf8Text},
    {"ole", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"s + std::string(12, '\0'), DocumentKind::OleCompound},
    {"rtf", "{\\rtf1\\ansi hello}", DocumentKind::Rtf},
    {"svg_declared", kDecl + kSvg, DocumentKind::Svg},
    {"svg_behind_long_comment", kDecl + comment(3000) + kSvg, DocumentKind::Svg},
    {"svg_beyond_4096", kDecl + comment(5000) + kSvg, DocumentKind::Rejected},
    {"svg_behind_zero_byte", kDecl + "<!-- \0 -->"s + kSvg, DocumentKind::Rejected},
    {"word_xml_before_svg", kDecl + "<?mso-application progid=\"Word.Document\"?>" + kSvg,
     DocumentKind::WordXml},
    {"other_xml", kDecl + "<note>text</note>", DocumentKind::Rejected},
    {"undeclared_svg_after_blanks", " \t\r\n" + kSvg, DocumentKind::Svg},
    {"undeclared_comment_then_svg", comment(400) + kSvg, DocumentKind::Svg},
    {"undeclared_doctype_then_svg",
     "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" \"x.dtd\">\n" + kSvg, DocumentKind::Svg},
    {"undeclared_doctype_html", "<!DOCTYPE html><html></html>", DocumentKind::Rejected},
    {"undeclared_html", "<html><svg/></html>", DocumentKind::Unrecognised},
    {"wmf_placeable", "\xD7\xCD\xC6\x9A\0\0\0\0\0\0\xE8\x03\xE8\x03\xA0\x05\0\0\0\0\x31\x0A"s,
     DocumentKind::Wmf},
    {"wmf_without_placeable_header", "\x01\0\x09\0\0\x03\x20\0\0\0\x02\0\x10\0\0\0\0\0"s,
     DocumentKind::Unrecognised},
    {"dr2d", "FORM\0\0\0@DR2DDRHD\0\0\0\x10"s + std::string(16, '\0'), DocumentKind::Dr2d},
    {"gzip_svg", gzip(kDecl + kSvg), DocumentKind::Svg},
    {"gzip_bom_svg", gzip(kBom + kSvg), DocumentKind::Svg},
    {"gzip_svg_behind_comment", gzip(kDecl + comment(3500) + kSvg), DocumentKind::Svg},
    {"gzip_svg_beyond_4096", gzip(kDecl + comment(5000) + kSvg), DocumentKind::Unrecognised},
    {"gzip_word_xml", gzip(kDecl + "<?mso progid=\"Word.Document\"?>" + kSvg),
     DocumentKind::Unrecognised},
    {"gzip_text", gzip("just text"), DocumentKind::Unrecognised},
    // The name in the header would match the DR2D search if gzip came last.
    {"gzip_named_dr2d", gzip("just text", "DR2D.txt"), DocumentKind::Unrecognised},
    // The svg only comes out after more compressed bytes than one read holds.
    {"gzip_long_header_name", gzip(kDecl + kSvg, std::string(6000, 'n')), DocumentKind::Svg},
    {"gzip_truncated", gzip(kDecl + kSvg).substr(0, 12), DocumentKind::Unrecognised},
    {"gzip_magic_only", "\x1F\x8B", DocumentKind::Unrecognised},
};

TEST(Detect, KindOfFileAndOfBytesFollowsTheTable) {
  TempDir dir;
  for (const DetectCase& c : kCases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.write(c.name, c.bytes);
    EXPECT_EQ(detect_document_kind(path), c.expected);
    EXPECT_EQ(detect_kind_of_bytes(c.bytes), c.expected);
  }
}

TEST(Detect, UnreadablePathsAreRejected) {
  TempDir dir;
  EXPECT_EQ(detect_document_kind(dir.file("missing.svg")), DocumentKind::Rejected);
  EXPECT_EQ(detect_xml_kind(dir.file("missing.svg")), DocumentKind::Rejected);
  EXPECT_EQ(detect_document_kind(dir.path().string()), DocumentKind::Rejected);
}

// A directory opens on Linux and only fails on reading, so it must not pass
// for a readable file that merely holds no drawing.
TEST(Detect, UnreadableReasonSaysWhyAFileCannotBeRead) {
  TempDir dir;
  EXPECT_EQ(file_unreadable_reason(dir.write("a.rtf", "{\\rtf1}")), "");
  EXPECT_EQ(file_unreadable_reason(dir.path().string()), "is a directory");
  EXPECT_EQ(file_unreadable_reason(dir.file("missing.svg")), "No such file or directory");
}

TEST(Detect, XmlSecondStageAlone) {
  TempDir dir;
  EXPECT_EQ(detect_xml_kind(dir.write("a.svg", kDecl + kSvg)), DocumentKind::Svg);
  EXPECT_EQ(detect_xml_kind(dir.write("b.xml", kDecl + "<note/>")), DocumentKind::Rejected);
  EXPECT_EQ(detect_xml_kind(dir.write("c.xml", kDecl + "<x progid=\"Word.Document\"/><svg/>")),
            DocumentKind::WordXml);
}

}  // namespace
