#pragma once
// Records that draw lines and shapes, and those that create pens and brushes
// or set the fill rule, the clip and line styles. Each shape record builds
// its own path, fills it with the brush, strokes it with the pen and clears
// it. Each handler takes the record's bytes and RendererData, and marks the
// playback partial when it had to skip or cut its record.

#include <cairo.h>

#include "app/renderer_data.h"
#include "wmf/wmf_read.h"

// Strokes the current path with the current pen and keeps the path.
void wmf_stroke_with_pen(cairo_t* target, const WmfPlayer& player);
// Strokes the current path with its points moved to device pixel centres
// (for one-pixel lines on image targets) and keeps the path as it was.
void wmf_stroke_on_pixel_centres(cairo_t* target);
// Fills the current path with the current brush and keeps the path.
void wmf_fill_with_brush(cairo_t* target, const WmfPlayer& player);
// Fills the current path with a solid colour and keeps the path.
void wmf_fill_with_color(cairo_t* target, const WmfColor& color);

void wmf_draw_createpenindirect(WmfBytes record, RendererData& data);
void wmf_draw_createbrushindirect(WmfBytes record, RendererData& data);
void wmf_draw_setbkcolor(WmfBytes record, RendererData& data);
void wmf_draw_setbkmode(WmfBytes record, RendererData& data);
void wmf_draw_setpolyfillmode(WmfBytes record, RendererData& data);
void wmf_draw_moveto(WmfBytes record, RendererData& data);
void wmf_draw_lineto(WmfBytes record, RendererData& data);
void wmf_draw_polyline(WmfBytes record, RendererData& data);
void wmf_draw_polygon(WmfBytes record, RendererData& data);
void wmf_draw_polypolygon(WmfBytes record, RendererData& data);
void wmf_draw_rectangle(WmfBytes record, RendererData& data);
void wmf_draw_ellipse(WmfBytes record, RendererData& data);
void wmf_draw_roundrect(WmfBytes record, RendererData& data);
// ARC, PIE and CHORD, told apart by the record's type.
void wmf_draw_arc(WmfBytes record, RendererData& data);
void wmf_draw_patblt(WmfBytes record, RendererData& data);
void wmf_draw_setpixel(WmfBytes record, RendererData& data);
void wmf_draw_intersectcliprect(WmfBytes record, RendererData& data);
void wmf_draw_excludecliprect(WmfBytes record, RendererData& data);
void wmf_draw_escape(WmfBytes record, RendererData& data);
