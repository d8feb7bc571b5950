#pragma once
// Dispatch of a document to the renderer of its kind.

#include <string>

#include "app/document_kind.h"
#include "app/render_status.h"
#include "app/renderer_data.h"

// Draws the document named by data.path, of kind data.kind, into data.target,
// fitted to data.width x data.height. The caller sets target first and holds
// whatever exclusion its threads need. Kinds that are not drawn leave the
// target untouched and give NotDrawable.
RenderStatus render_document(RendererData& data);

// The document's own extent in its renderer's units (WMF placeable box, DR2D
// header box, SVG document size), for fitting with the aspect kept.
RenderStatus document_size(const std::string& path, DocumentKind kind, double& width,
                           double& height);
