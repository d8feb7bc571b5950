#pragma once
// Entry of the DR2D renderer.

#include <string>

#include "app/render_status.h"
#include "app/renderer_data.h"

RenderStatus render_dr2d_file(const std::string& path, RendererData& data);
// The width and height of the drawing header's bounding box.
RenderStatus dr2d_document_size(const std::string& path, double& width, double& height);
