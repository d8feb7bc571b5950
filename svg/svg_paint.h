#pragma once
// A paint: none, a colour, or a reference to a gradient or pattern element.

#include <cstdint>
#include <optional>
#include <string_view>

#include "svg/svg_color.h"
#include "svg/svg_status.h"

struct SvgElement;
struct SvgGradient;

enum class SvgPaintType : int32_t {
  None = 0,
  Color = 1,
  Gradient = 2,
  Pattern = 3,
};

// What an id names as a paint server. type None: no element of that id, or
// one that is neither a gradient nor a pattern.
struct SvgPaintServer {
  SvgPaintType type = SvgPaintType::None;
  const SvgGradient* gradient = nullptr;  // type Gradient
  const SvgElement* pattern = nullptr;    // type Pattern
};

// Resolves "url(#id)" references; the document implements it with its id
// table.
class SvgPaintServers {
 public:
  virtual SvgPaintServer find_paint_server(std::string_view id) const = 0;

 protected:
  ~SvgPaintServers() = default;
};

struct SvgPaint {
  SvgPaintType type = SvgPaintType::None;
  SvgColor color;                         // type Color
  const SvgGradient* gradient = nullptr;  // type Gradient; not owned
  const SvgElement* pattern = nullptr;    // type Pattern; not owned

  // "none"; "url(#id)" with any fallback text after the ")" ignored; else a
  // colour. A reference that `servers` cannot resolve gives Malformed and
  // leaves the paint unchanged.
  SvgStatus parse(const SvgPaintServers& servers, std::string_view text);

  // The id of a "url(#id)" paint text (the part between "url(#" and the first
  // ")"), or nothing when the text is not such a reference. Lets a caller keep
  // an unresolved reference and resolve it later.
  static std::optional<std::string_view> reference_id(std::string_view text);

  // Points the paint at a resolved server (type Gradient or Pattern).
  // Returns Malformed, paint unchanged, for type None.
  SvgStatus set_server(const SvgPaintServer& server);
};
