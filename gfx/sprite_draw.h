// Sprite drawing with masks.
#pragma once

#include "gfx/bitmap_cache.h"
#include "gfx/surface_table.h"

namespace orvo::gfx {

// The picture's rectangle at (sx, sy) onto (dx, dy) of dst, its exactly-white
// pixels transparent: the mask with OR, then the picture with AND.
void MaskedDraw(SurfaceTable& table, SurfaceHandle dst, int dx, int dy, int w, int h,
                const BitmapEntry& entry, int sx, int sy);

}  // namespace orvo::gfx
