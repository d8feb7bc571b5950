#pragma once
// What a renderer entry tells its caller. The entry still draws nothing or a
// partial drawing on failure; the status only lets the converter and the
// window say why.

#include <string_view>

enum class RenderStatus {
  Ok = 0,
  Unreadable,   // the file cannot be opened or read
  NotDrawable,  // the kind is not one we draw (or its renderer is absent)
  Malformed,    // nothing could be drawn: headers or structure are broken
  Partial,      // something was drawn, but records were bad or the file ends early
  NoMemory,     // an allocation failed or a size was beyond our limits
  CairoError,   // the target context is (or went) into an error state
};

constexpr std::string_view render_status_name(RenderStatus status) {
  switch (status) {
    case RenderStatus::Ok: return "ok";
    case RenderStatus::Unreadable: return "cannot read file";
    case RenderStatus::NotDrawable: return "not a drawable file";
    case RenderStatus::Malformed: return "malformed file";
    case RenderStatus::Partial: return "drawing is incomplete";
    case RenderStatus::NoMemory: return "out of memory";
    case RenderStatus::CairoError: return "drawing failed";
  }
  return "unknown status";
}

// A document that fails outright versus one that was at least partly drawn.
constexpr bool render_status_is_failure(RenderStatus status) {
  return status != RenderStatus::Ok && status != RenderStatus::Partial;
}
