// Sprite drawing with masks, and the cell geometry of the board.
#pragma once

#include <cstdint>

#include "gfx/bitmap_cache.h"
#include "gfx/surface_table.h"

namespace orvo::gfx {

inline constexpr std::int32_t TileWidth = 48;
inline constexpr std::int32_t TileHeight = 48;

// The picture's rectangle at (sx, sy) onto (dx, dy) of dst, its exactly-white
// pixels transparent: the mask with OR, then the picture with AND.
void MaskedDraw(SurfaceTable& table, SurfaceHandle dst, int dx, int dy, int w, int h,
                const BitmapEntry& entry, int sx, int sy);

// Copies cell (x, y) of the background picture onto the same cell of front.
void CellRestore(SurfaceTable& table, SurfaceHandle front, const BitmapEntry& background, int x,
                 int y);

// Draws block value v, animation frame k, from the sprite sheet into cell (x, y).
void BlockDraw(SurfaceTable& table, SurfaceHandle front, const BitmapEntry& blocks, int x, int y,
               int v, int k);

}  // namespace orvo::gfx
