#pragma once
// Entry of the WMF renderer.

#include <string>

#include "app/render_status.h"
#include "app/renderer_data.h"

RenderStatus render_wmf_file(const std::string& path, RendererData& data);
// The placeable bounding box's width and height in logical units.
RenderStatus wmf_document_size(const std::string& path, double& width, double& height);
