#pragma once
// The attribute list of one start tag as the XML parser hands it over:
// name, value, name, value, ..., terminated by a null name.

#include <string_view>

struct SvgAttributes {
  const char* const* pairs = nullptr;

  // The value of the first attribute named exactly `name`, or nullptr.
  const char* find(std::string_view name) const {
    if (pairs == nullptr) return nullptr;
    for (const char* const* p = pairs; p[0] != nullptr; p += 2) {
      if (name == p[0]) return p[1];
    }
    return nullptr;
  }

  // "xlink:href", or "href" when the prefixed form is absent (SVG 2 writes it
  // without the prefix).
  const char* find_href() const {
    const char* value = find("xlink:href");
    return value != nullptr ? value : find("href");
  }
};
