#include "wmf/wmf_render.h"

RenderStatus render_wmf_file(const std::string&, RendererData&) {
  return RenderStatus::NotDrawable;
}

RenderStatus wmf_document_size(const std::string&, double& width, double& height) {
  width = height = 0;
  return RenderStatus::NotDrawable;
}
