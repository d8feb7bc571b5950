#include "app/eps_page_box.h"

#include <string_view>

namespace {

constexpr std::string_view kBoxComments[] = {"%%BoundingBox:", "%%PageBoundingBox:"};
constexpr int kBoxCommentCount = 2;
// A line longer than this is no box comment, and is passed on at once.
constexpr std::size_t kLongestBoxLine = 128;

bool send(const ExportWriter& next, std::string_view text) {
  return text.empty() || next(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

}  // namespace

EpsPageBoxFilter::EpsPageBoxFilter(const ExportWriter& next, int width, int height)
    : next_(next), box_("0 0 " + std::to_string(width) + " " + std::to_string(height)) {}

bool EpsPageBoxFilter::flush_line() {
  for (std::string_view comment : kBoxComments) {
    if (std::string_view(line_).starts_with(comment) && line_.ends_with('\n')) {
      line_ = std::string(comment) + " " + box_ + "\n";
      ++replaced_;
      break;
    }
  }
  const bool ok = send(next_, line_);
  line_.clear();
  return ok;
}

bool EpsPageBoxFilter::write(const unsigned char* bytes, std::size_t length) {
  std::size_t i = 0;
  while (i < length) {
    if (replaced_ == kBoxCommentCount && line_.empty()) {
      return next_(bytes + i, length - i);  // both comments done: pass the rest
    }
    if (in_long_line_) {
      std::size_t end = i;
      while (end < length && bytes[end] != '\n') ++end;
      if (end < length) {
        ++end;
        in_long_line_ = false;
      }
      if (!next_(bytes + i, end - i)) return false;
      i = end;
      continue;
    }
    const char c = static_cast<char>(bytes[i++]);
    line_.push_back(c);
    if (c == '\n') {
      if (!flush_line()) return false;
    } else if (line_.size() > kLongestBoxLine) {
      in_long_line_ = true;
      if (!flush_line()) return false;
    }
  }
  return true;
}

bool EpsPageBoxFilter::finish() { return flush_line(); }
