#pragma once
// Entry of the DR2D renderer.

#include <string>

#include "app/render_status.h"
#include "app/renderer_data.h"

// Reads the file and draws it into data.target fitted to data.width x
// data.height. Unreadable when the file cannot be opened or read; Malformed
// or NoMemory when the reader fails, and then nothing is drawn.
RenderStatus render_dr2d_file(const std::string& path, RendererData& data);
// As above, and gives the reader's own status (an IffStatus value, 0 when the
// file was read) for messages; see dr2d_read_status_name in dr2d/dr2d_read.h.
RenderStatus render_dr2d_file_with_status(const std::string& path, RendererData& data,
                                          int& read_status);

// The width and height of the drawing header's bounding box, in the
// drawing's fixed-point units (1/1024 of a drawing unit).
RenderStatus dr2d_document_size(const std::string& path, double& width, double& height);

// Why the file cannot be drawn, for the user: "" when it reads, otherwise
// e.g. "DR2D reader status -8: malformed IFF data".
std::string dr2d_read_failure_message(const std::string& path);
