// Feeds arbitrary bytes to the SVG document parser, then hands every built
// element's style and path to a recording engine. Also checks that feeding
// the same bytes in two chunks builds the same tree.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "svg/svg_document.h"
#include "tests/svg/recording_engine.h"
#include "tests/svg/svg_tree_dump.h"

namespace {

void replay_tree(const SvgElement& root) {
  RecordingEngine engine;
  std::vector<const SvgElement*> work{&root};
  while (!work.empty()) {
    const SvgElement* element = work.back();
    work.pop_back();
    SvgStyle::apply_to_engine(element->style, engine);
    if (const auto* path = std::get_if<SvgPath>(&element->data)) path->replay(engine);
    engine.calls.clear();
    if (const SvgGroup* group = element->group()) {
      for (const auto& child : group->children) work.push_back(child.get());
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::unique_ptr<SvgDocument> whole;
  if (SvgDocument::create(&whole) != SvgStatus::Ok) return 0;
  // Keep each run small, so that a use chain that hits the limits still
  // parses and dumps twice well inside the fuzzer's time limit; the logic
  // is the same at any limit.
  whole->element_limit = 20000;
  whole->copy_byte_limit = 1u << 20;
  SvgStatus status = SvgDocument::parse_buffer(*whole, data, size);
  if (whole->root) replay_tree(*whole->root);

  std::unique_ptr<SvgDocument> split;
  if (SvgDocument::create(&split) != SvgStatus::Ok) return 0;
  split->element_limit = whole->element_limit;
  split->copy_byte_limit = whole->copy_byte_limit;
  size_t cut = size == 0 ? 0 : data[0] % size;
  SvgDocument::parse_chunk_begin(*split);
  SvgDocument::parse_chunk(*split, data, cut);
  SvgDocument::parse_chunk(*split, data + cut, size - cut);
  SvgStatus split_status = SvgDocument::parse_chunk_end(*split);
  if (split_status != status || dump_tree(*split) != dump_tree(*whole)) std::abort();
  return 0;
}
