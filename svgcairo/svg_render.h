#pragma once
// Entry of the SVG renderer on cairo.

#include <string>

#include "app/render_status.h"
#include "app/renderer_data.h"

RenderStatus render_svg_file(const std::string& path, RendererData& data);
RenderStatus svg_document_size(const std::string& path, double& width, double& height);
