#include "gui/view_status.h"

namespace {

std::string base_name(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos || slash + 1 == path.size() ? path : path.substr(slash + 1);
}

std::string kind_text(DocumentKind kind) { return std::string(document_kind_name(kind)); }

// Why a file of a kind that is never drawn shows nothing.
std::string not_drawable_reason(DocumentKind kind) {
  switch (kind) {
    case DocumentKind::Unrecognised: return "not a drawable file: format not recognised";
    case DocumentKind::Rejected: return "not a drawable file: XML that is not SVG";
    default: return "not a drawable file: detected as " + kind_text(kind);
  }
}

}  // namespace

std::string view_status_text(const ViewStatusInput& input) {
  if (input.path.empty()) {
    return "No drawing. Open one with \"Open Vectorgraphic\" or drop a file on the window.";
  }
  std::string name = base_name(input.path);
  if (!input.readable) return name + ": cannot read file";
  if (!document_kind_is_drawn(input.kind)) return name + ": " + not_drawable_reason(input.kind);
  std::string shown = name + " (" + kind_text(input.kind) + ")";
  if (input.rendering) return "Drawing " + shown + "...";
  switch (input.status) {
    case RenderStatus::Ok: return shown;
    case RenderStatus::NotDrawable:
      return shown + ": this build has no renderer for " + kind_text(input.kind) + " files";
    default: return shown + ": " + std::string(render_status_name(input.status));
  }
}
