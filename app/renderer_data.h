#pragma once
// The per-view record that every renderer entry receives: where to draw, at
// what size, and the state the WMF player keeps between records.

#include <cairo.h>

#include <cstdint>
#include <string>

#include "app/document_kind.h"
#include "wmf/wmf_player.h"

struct RendererData {
  std::string drawer = "Vector";     // last drawer shown or chosen in a file dialog
  std::string file_name;             // last file name chosen in a file dialog
  std::string path;                  // the current document
  cairo_t* target = nullptr;         // not owned; valid only during a renderer call
  cairo_t* display = nullptr;        // owned by the view: the 1280 x 1024 display surface
  cairo_t* export_target = nullptr;  // owned during an export
  std::int32_t width = 0;            // drawing size in device units
  std::int32_t height = 0;
  WmfPlayer wmf;
  DocumentKind kind = DocumentKind::Unrecognised;
};
