#pragma once
// Drawing a Dr2dDrawing with cairo: the polygons of the visible layers,
// directly or inside groups and external objects. Text, bitmaps, fill
// patterns, arrowheads and dash patterns are not drawn.

#include <cstddef>

#include "app/render_status.h"
#include "app/renderer_data.h"
#include "dr2d/dr2d_model.h"

// Maps the header box onto data.target's (0, 0)-(width, height): its (left,
// top) corner to the top-left, (right, bottom) to the bottom-right, with one
// non-uniform scale that is negative where the box runs the other way. A
// box without area, or a target size of zero, draws nothing. The target's
// state is restored on return and its path left empty.
RenderStatus render_dr2d_drawing(const Dr2dDrawing& drawing, RendererData& data);

// One object and, recursively, its contents.
void render_dr2d_object(const Dr2dObject& object, RendererData& data, const Dr2dDrawing& drawing);

// Builds the polygon's path onto whatever path the context holds and paints
// it: a fill (closed polygons with fill type 1, even-odd) and a solid outline
// (dash pattern not 0). An object that paints neither leaves its path for the
// next painted one.
void draw_dr2d_polygon(const Dr2dPoint* points, std::size_t count, bool closed,
                       const Dr2dDrawing& drawing, const Dr2dAttributes& attributes,
                       RendererData& data);
