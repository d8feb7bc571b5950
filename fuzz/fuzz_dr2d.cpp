// Reads arbitrary bytes as a DR2D drawing, from memory and as a stream of
// unknown size, and draws whatever reads into a small image surface.
#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "app/cairo_handles.h"
#include "app/renderer_data.h"
#include "dr2d/dr2d_draw.h"
#include "dr2d/dr2d_read.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 0) {
    // fmemopen gives a stream without a descriptor: the path for pipes.
    std::FILE* stream = fmemopen(const_cast<std::uint8_t*>(data), size, "r");
    if (stream) {
      std::unique_ptr<Dr2dDrawing> streamed;
      read_dr2d_stream(stream, streamed);
      std::fclose(stream);
    }
  }
  std::unique_ptr<Dr2dDrawing> drawing;
  if (read_dr2d_memory(data, size, drawing) != IffStatus::Ok) return 0;
  CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 48, 32));
  CairoContextPtr cr(cairo_create(surface.get()));
  RendererData renderer;
  renderer.target = cr.get();
  renderer.width = 48;
  renderer.height = 32;
  render_dr2d_drawing(*drawing, renderer);
  free_dr2d_drawing(drawing);
  return 0;
}
