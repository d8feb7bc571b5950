#include "dr2d/dr2d_render.h"

RenderStatus render_dr2d_file(const std::string&, RendererData&) {
  return RenderStatus::NotDrawable;
}

RenderStatus dr2d_document_size(const std::string&, double& width, double& height) {
  width = height = 0;
  return RenderStatus::NotDrawable;
}
