#include "svgcairo/svg_render.h"

// The cairo engine for SVG is not built yet: SVG files are recognised but not drawn.
RenderStatus render_svg_file(const std::string&, RendererData&) {
  return RenderStatus::NotDrawable;
}

RenderStatus svg_document_size(const std::string&, double& width, double& height) {
  width = height = 0;
  return RenderStatus::NotDrawable;
}
