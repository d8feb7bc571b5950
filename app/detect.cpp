#include "app/detect.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>

namespace {

// The first-stage tests look only at this many bytes.
constexpr std::size_t kFirstBytes = 20;
// A gzip header may carry a long name or extra field before the data; stop
// feeding the inflater after this much compressed input.
constexpr std::size_t kMaxCompressedBytes = 1 << 20;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kOleSignature = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr std::string_view kRtfMarker = "{\\rtf";
constexpr std::string_view kXmlDeclaration = "?xml";
constexpr std::string_view kWmfPlaceableKey = "\xD7\xCD\xC6\x9A";
constexpr std::string_view kDr2dType = "DR2D";
constexpr std::string_view kWordXmlMarker = "progid=\"Word.Document\"";
constexpr std::string_view kSvgTag = "<svg";

std::string_view up_to_zero(std::string_view text) { return text.substr(0, text.find('\0')); }

// The bytes as a zero-terminated string: the needle must stand before the
// first zero byte.
bool text_search(std::string_view bytes, std::string_view needle) {
  return up_to_zero(bytes).find(needle) != std::string_view::npos;
}

// Zero bytes dropped first, so that a needle is found across them (the IFF
// type stands behind a length field that usually holds zeros).
bool squeezed_search(std::string_view bytes, std::string_view needle) {
  std::string squeezed;
  std::copy_if(bytes.begin(), bytes.end(), std::back_inserter(squeezed),
               [](char c) { return c != '\0'; });
  return squeezed.find(needle) != std::string::npos;
}

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Many SVG files have no XML declaration: they start with the root element,
// a comment or a document type declaration.
bool starts_like_undeclared_xml(std::string_view head) {
  std::size_t i = 0;
  while (i < head.size() && is_blank(head[i])) ++i;
  std::string_view rest = head.substr(i);
  return rest.starts_with(kSvgTag) || rest.starts_with("<!--") || rest.starts_with("<!DOCTYPE");
}

bool looks_like_xml(std::string_view head) {
  return text_search(head.substr(0, kFirstBytes), kXmlDeclaration) ||
         starts_like_undeclared_xml(head);
}

bool is_gzip(std::string_view head) {
  return head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0x1F &&
         static_cast<unsigned char>(head[1]) == 0x8B;
}

// Inflates the start of a gzip stream, fed piece by piece, until
// kDetectXmlBytes bytes came out or the stream ends or breaks.
class GzipHeadInflater {
 public:
  GzipHeadInflater() { ready_ = inflateInit2(&stream_, 16 + MAX_WBITS) == Z_OK; }
  ~GzipHeadInflater() {
    if (ready_) inflateEnd(&stream_);
  }
  GzipHeadInflater(const GzipHeadInflater&) = delete;
  GzipHeadInflater& operator=(const GzipHeadInflater&) = delete;

  // False once more input would give no more output.
  bool feed(std::string_view input) {
    while (ready_ && !done_ && !input.empty()) {
      const std::size_t piece = std::min<std::size_t>(input.size(), 1 << 16);
      stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
      stream_.avail_in = static_cast<uInt>(piece);
      while (!done_ && stream_.avail_in > 0) {
        unsigned char buffer[kDetectXmlBytes];
        const std::size_t room = kDetectXmlBytes - inflated_.size();
        stream_.next_out = buffer;
        stream_.avail_out = static_cast<uInt>(room);
        const int rc = inflate(&stream_, Z_NO_FLUSH);
        inflated_.append(reinterpret_cast<const char*>(buffer), room - stream_.avail_out);
        if (rc != Z_OK || inflated_.size() >= kDetectXmlBytes) done_ = true;
      }
      input.remove_prefix(piece);
    }
    return ready_ && !done_;
  }
  const std::string& inflated() const { return inflated_; }

 private:
  z_stream stream_{};
  bool ready_ = false;
  bool done_ = false;
  std::string inflated_;
};

// A gzip-compressed file is drawn only when it holds SVG.
DocumentKind kind_of_inflated(std::string_view text) {
  if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
  if (looks_like_xml(text) && detect_xml_kind_of_bytes(text) == DocumentKind::Svg) {
    return DocumentKind::Svg;
  }
  return DocumentKind::Unrecognised;
}

// `head` holds up to kDetectXmlBytes bytes of the file; `inflate_head` gives
// the first bytes of its gzip content and is called only for gzip files.
DocumentKind detect_kind_of_head(std::string_view head,
                                 const std::function<std::string()>& inflate_head) {
  // A fixed signature at offset 0: tested first so that the searches below
  // cannot match inside the compressed header (a stored file name, say).
  if (is_gzip(head)) return kind_of_inflated(inflate_head());

  const std::string_view first = head.substr(0, kFirstBytes);
  if (squeezed_search(first, kUtf8Bom)) {
    if (head.starts_with(kUtf8Bom)) {
      const std::string_view text = head.substr(kUtf8Bom.size());
      if (looks_like_xml(text) && detect_xml_kind_of_bytes(text) == DocumentKind::Svg) {
        return DocumentKind::Svg;
      }
    }
    return DocumentKind::Utf8Text;
  }
  if (squeezed_search(first, kOleSignature)) return DocumentKind::OleCompound;
  if (text_search(first, kRtfMarker)) return DocumentKind::Rtf;
  if (looks_like_xml(head)) return detect_xml_kind_of_bytes(head);
  if (squeezed_search(first, kWmfPlaceableKey)) return DocumentKind::Wmf;
  if (squeezed_search(first, kDr2dType)) return DocumentKind::Dr2d;
  return DocumentKind::Unrecognised;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr open_for_reading(const std::string& path) {
  return FilePtr(std::fopen(path.c_str(), "rb"));
}

// Up to `limit` bytes from the file's current position; false on a read
// error (a directory, an I/O failure).
bool read_some(std::FILE* file, std::size_t limit, std::string& bytes) {
  bytes.resize(limit);
  const std::size_t got = std::fread(bytes.data(), 1, limit, file);
  bytes.resize(got);
  return !std::ferror(file);
}

}  // namespace

DocumentKind detect_xml_kind_of_bytes(std::string_view bytes) {
  const std::string_view text = up_to_zero(bytes.substr(0, kDetectXmlBytes));
  if (text.find(kWordXmlMarker) != std::string_view::npos) return DocumentKind::WordXml;
  if (text.find(kSvgTag) != std::string_view::npos) return DocumentKind::Svg;
  return DocumentKind::Rejected;
}

DocumentKind detect_kind_of_bytes(std::string_view bytes) {
  return detect_kind_of_head(bytes.substr(0, kDetectXmlBytes), [bytes] {
    GzipHeadInflater inflater;
    inflater.feed(bytes);
    return inflater.inflated();
  });
}

std::string file_unreadable_reason(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return "is a directory";
  FilePtr file = open_for_reading(path);
  if (!file) return std::strerror(errno);
  return "";
}

DocumentKind detect_xml_kind(const std::string& path) {
  FilePtr file = open_for_reading(path);
  std::string head;
  if (!file || !read_some(file.get(), kDetectXmlBytes, head)) return DocumentKind::Rejected;
  return detect_xml_kind_of_bytes(head);
}

DocumentKind detect_document_kind(const std::string& path) {
  FilePtr file = open_for_reading(path);
  std::string head;
  if (!file || !read_some(file.get(), kDetectXmlBytes, head)) return DocumentKind::Rejected;
  return detect_kind_of_head(head, [&file, &head] {
    GzipHeadInflater inflater;
    std::size_t fed = 0;
    std::string chunk = head;
    while (inflater.feed(chunk) && fed < kMaxCompressedBytes) {
      fed += chunk.size();
      if (!read_some(file.get(), kDetectXmlBytes, chunk) || chunk.empty()) break;
    }
    return inflater.inflated();
  });
}
