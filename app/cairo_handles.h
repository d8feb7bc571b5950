#pragma once
// Owning handles for cairo objects, so that no early return leaks one.

#include <cairo.h>

#include <memory>

struct CairoSurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct CairoContextDeleter {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
struct CairoPatternDeleter {
  void operator()(cairo_pattern_t* p) const { cairo_pattern_destroy(p); }
};
struct CairoPathDeleter {
  void operator()(cairo_path_t* p) const { cairo_path_destroy(p); }
};

using CairoSurfacePtr = std::unique_ptr<cairo_surface_t, CairoSurfaceDeleter>;
using CairoContextPtr = std::unique_ptr<cairo_t, CairoContextDeleter>;
using CairoPatternPtr = std::unique_ptr<cairo_pattern_t, CairoPatternDeleter>;
using CairoPathPtr = std::unique_ptr<cairo_path_t, CairoPathDeleter>;

// cairo_save on construction, cairo_restore on destruction.
class CairoSaveGuard {
 public:
  explicit CairoSaveGuard(cairo_t* cr) : cr_(cr) { cairo_save(cr_); }
  ~CairoSaveGuard() { cairo_restore(cr_); }
  CairoSaveGuard(const CairoSaveGuard&) = delete;
  CairoSaveGuard& operator=(const CairoSaveGuard&) = delete;

 private:
  cairo_t* cr_;
};
