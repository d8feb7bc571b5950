#pragma once
// Text records: the text colour, fonts and text output.

#include <cairo.h>

#include "app/renderer_data.h"
#include "wmf/wmf_read.h"

// Sets the text colour and the current font on `target` before text output.
void wmf_apply_font(cairo_t* target, const WmfPlayer& player);

void wmf_text_settextcolor(WmfBytes record, RendererData& data);
void wmf_text_createfontindirect(WmfBytes record, RendererData& data);
void wmf_text_textout(WmfBytes record, RendererData& data);
