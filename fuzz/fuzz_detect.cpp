// Detection on arbitrary bytes: the first-stage tests, the XML second stage
// and the gzip inflation of the head.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/detect.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const DocumentKind kind = detect_kind_of_bytes(bytes);
  if (kind == DocumentKind::Rejected && detect_xml_kind_of_bytes(bytes) == DocumentKind::Svg) {
    __builtin_trap();  // a Rejected head never holds an svg tag in its XML stage
  }
  return 0;
}
