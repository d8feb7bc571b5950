// Feeds arbitrary bytes to the metafile player, drawing into a small image.
#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/cairo_handles.h"
#include "app/renderer_data.h"
#include "wmf/wmf_play.h"
#include "wmf/wmf_read.h"

// fontconfig keeps the patterns of the faces cairo looked up until the
// process ends; they are not leaks of the player.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 64, 48));
  CairoContextPtr cr(cairo_create(surface.get()));
  std::vector<std::uint8_t> buffer(data, data + size);
  wmf_convert_byte_order(buffer);
  RendererData renderer;
  renderer.target = cr.get();
  renderer.width = 64;
  renderer.height = 48;
  wmf_play(buffer, renderer);
  // Playback must leave the caller's context usable.
  if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) __builtin_trap();
  return 0;
}
