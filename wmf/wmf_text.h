#pragma once
// Text records: the text colour and alignment, fonts, TEXTOUT and EXTTEXTOUT.

#include <cairo.h>

#include "app/renderer_data.h"
#include "wmf/wmf_read.h"

// Sets the text colour and the current font on `target`, sized for a frame
// of device units (the player's device matrix). Returns the larger of the
// em's sizes across and down in device units, or 0 when the text would be
// too small to see (no font is set then).
double wmf_apply_font(cairo_t* target, const WmfPlayer& player);

void wmf_text_settextcolor(WmfBytes record, RendererData& data);
void wmf_text_settextalign(WmfBytes record, RendererData& data);
void wmf_text_createfontindirect(WmfBytes record, RendererData& data);
void wmf_text_textout(WmfBytes record, RendererData& data);
void wmf_text_exttextout(WmfBytes record, RendererData& data);
