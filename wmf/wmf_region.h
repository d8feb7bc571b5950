#pragma once
// Regions: CREATEREGION puts a region, its rectangles in logical units, into
// the object table; FILLREGION, FRAMEREGION, PAINTREGION and INVERTREGION
// paint one; SELECTCLIPREGION (and SELECTOBJECT of a region) makes one the
// clip.

#include <cstddef>

#include "app/renderer_data.h"
#include "wmf/wmf_read.h"

// Reads CREATEREGION: a region head, the scan count, the largest scan and the
// bounds, then the scans, each a count of x coordinates, top, bottom, that
// many x coordinates as (left, right) pairs and the count again. Scans and
// pairs past the record are cut. A record of just four values holds one
// rectangle stored bottom, right, top, left, as some writers make it.
// Returns the record's size, or 0 when it is too short for the head.
std::size_t wmf_get_createregion(WmfBytes record, WmfRegion& region, bool& cut);

// Makes `region` the clip, within the clip the playback started with. No
// region, or an empty one, returns the clip to that base.
void wmf_region_clip(const WmfRegion* region, RendererData& data);

void wmf_region_create(WmfBytes record, RendererData& data);
void wmf_region_fill(WmfBytes record, RendererData& data);
void wmf_region_frame(WmfBytes record, RendererData& data);
// Inverts the colours under the region, as a difference with white.
void wmf_region_invert(WmfBytes record, RendererData& data);
void wmf_region_paint(WmfBytes record, RendererData& data);
void wmf_region_selectclip(WmfBytes record, RendererData& data);
