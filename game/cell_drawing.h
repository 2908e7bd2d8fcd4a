// Drawing one cell of the board surface: the background under it, or a block.
#pragma once

#include "gfx/bitmap_cache.h"
#include "gfx/surface_table.h"

namespace orvo::game {

// Copies cell (x, y) of the background picture onto the same cell of front.
void CellRestore(gfx::SurfaceTable& table, gfx::SurfaceHandle front,
                 const gfx::BitmapEntry& background, int x, int y);

// Draws block value v, animation frame k, from the sprite sheet into cell (x, y).
void BlockDraw(gfx::SurfaceTable& table, gfx::SurfaceHandle front, const gfx::BitmapEntry& blocks,
               int x, int y, int v, int k);

}  // namespace orvo::game
