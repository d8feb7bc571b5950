#pragma once
// The window (origin and extent mapped onto the placeable box) and the saved
// drawing states of SAVEDC and RESTOREDC.

#include "app/renderer_data.h"
#include "wmf/wmf_read.h"

// Recomputes the logical-to-drawing-space scale after a window change.
void wmf_window_update(WmfPlayer& player);

void wmf_state_setwindoworg(WmfBytes record, RendererData& data);
void wmf_state_setwindowext(WmfBytes record, RendererData& data);
void wmf_state_offsetwindoworg(WmfBytes record, RendererData& data);
void wmf_state_scalewindowext(WmfBytes record, RendererData& data);

// Saved states also save the cairo state (the clip, the fill rule).
inline constexpr std::size_t kWmfMaxSavedStates = 1024;
void wmf_state_savedc(WmfBytes record, RendererData& data);
void wmf_state_restoredc(WmfBytes record, RendererData& data);
// Restores the cairo states that saved states still hold, at the playback's end.
void wmf_state_unwind(RendererData& data);
