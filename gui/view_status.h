#pragma once
// The one line under the view that says what it shows, or why it shows nothing.

#include <string>

#include "app/document_kind.h"
#include "app/render_status.h"

struct ViewStatusInput {
  std::string path;  // empty: no document yet
  DocumentKind kind = DocumentKind::Unrecognised;
  bool rendering = false;                  // requested, not drawn yet
  RenderStatus status = RenderStatus::Ok;  // of the finished render
  bool readable = true;                    // the file could be opened when it was loaded
};

std::string view_status_text(const ViewStatusInput& input);
