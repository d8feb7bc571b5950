#include "app/render_document.h"

#include "dr2d/dr2d_render.h"
#include "svgcairo/svg_render.h"
#include "wmf/wmf_render.h"

RenderStatus render_document(RendererData& data) {
  switch (data.kind) {
    case DocumentKind::Wmf: return render_wmf_file(data.path, data);
    case DocumentKind::Dr2d: return render_dr2d_file(data.path, data);
    case DocumentKind::Svg: return render_svg_file(data.path, data);
    default: return RenderStatus::NotDrawable;
  }
}

RenderStatus document_size(const std::string& path, DocumentKind kind, double& width,
                           double& height) {
  width = height = 0;
  switch (kind) {
    case DocumentKind::Wmf: return wmf_document_size(path, width, height);
    case DocumentKind::Dr2d: return dr2d_document_size(path, width, height);
    case DocumentKind::Svg: return svg_document_size(path, width, height);
    default: return RenderStatus::NotDrawable;
  }
}
