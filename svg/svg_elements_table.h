#pragma once
// The element table: which start tags build which elements, and how.

#include <string_view>

#include "svg/svg_attributes.h"
#include "svg/svg_status.h"

struct SvgElement;
struct SvgParser;
struct SvgParseFrame;

struct SvgElementEntry {
  std::string_view name;
  // Runs at the start tag. May build an element (*built) and change the
  // frame. NothingBuilt when no element results. Null for elements whose
  // subtree is not read (yet): they are skipped like unlisted ones.
  SvgStatus (*parse)(SvgParser& parser, SvgParseFrame& frame, const SvgAttributes& attributes,
                     SvgElement** built);
  // Reads the attributes that come after the common ones; may be null.
  SvgStatus (*read_after)(SvgParser& parser, SvgElement& element, const SvgAttributes& attributes);
  // Receives the normalised character data inside the element; may be null.
  SvgStatus (*character_data)(SvgParser& parser, SvgParseFrame& frame, std::string_view text);
};

inline constexpr int kSvgElementEntryCount = 20;
extern const SvgElementEntry kSvgElementEntries[kSvgElementEntryCount];

// Linear search by exact, case-sensitive name; nullptr when unlisted.
const SvgElementEntry* svg_element_entry_find(std::string_view name);

// The "use" steps that copy the referenced element, shared by the parse and
// by the resolution of forward references: copies `target` as the first child
// of `use`, a symbol copy taking the use's size (and becoming a group when it
// has a viewBox).
SvgStatus svg_use_attach_copy(SvgElement& use, const SvgElement& target);
// Puts width, height, x and y of an unresolved "use" back to their initial values.
void svg_use_reset(SvgElement& use);
// Records one more (delta +1) or one less (-1) waiting reference on
// `element`, updating the elements that enclose it.
void svg_pending_adjust(SvgElement& element, int delta);
