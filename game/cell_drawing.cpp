#include "game/cell_drawing.h"

#include <cstdint>
#include <limits>

#include "game/board_geometry.h"
#include "gfx/bitblt.h"
#include "gfx/sprite_draw.h"

namespace orvo::game {

namespace {

// The pixel position of tile `index`; false when it lies beyond the int
// range (such a tile is outside every surface, so the draw is left out).
bool TileOrigin(int index, std::int32_t tile, int& out) {
  const std::int64_t p = static_cast<std::int64_t>(index) * tile;
  if (p < std::numeric_limits<int>::min() || p > std::numeric_limits<int>::max()) return false;
  out = static_cast<int>(p);
  return true;
}

}  // namespace

void CellRestore(gfx::SurfaceTable& table, gfx::SurfaceHandle front,
                 const gfx::BitmapEntry& background, int x, int y) {
  int px = 0;
  int py = 0;
  if (!TileOrigin(x, TileWidth, px) || !TileOrigin(y, TileHeight, py)) return;
  gfx::BitBlt(table, front, px, py, TileWidth, TileHeight, background.DC, px, py,
              gfx::RasterOp::SRCCOPY);
}

void BlockDraw(gfx::SurfaceTable& table, gfx::SurfaceHandle front, const gfx::BitmapEntry& blocks,
               int x, int y, int v, int k) {
  int px = 0;
  int py = 0;
  int sx = 0;
  int sy = 0;
  if (!TileOrigin(x, TileWidth, px) || !TileOrigin(y, TileHeight, py) ||
      !TileOrigin(v, TileWidth, sx) || !TileOrigin(k, TileHeight, sy)) {
    return;
  }
  gfx::MaskedDraw(table, front, px, py, TileWidth, TileHeight, blocks, sx, sy);
}

}  // namespace orvo::game
