#include "gfx/sprite_draw.h"

#include <cstdint>
#include <limits>

#include "gfx/bitblt.h"

namespace orvo::gfx {

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

void MaskedDraw(SurfaceTable& table, SurfaceHandle dst, int dx, int dy, int w, int h,
                const BitmapEntry& entry, int sx, int sy) {
  // The mask turns the opaque pixels white, then the picture ANDs its own
  // colours into them; under exactly-white pixels both passes change nothing.
  BitBlt(table, dst, dx, dy, w, h, entry.MaskDC, sx, sy, RasterOp::SRCPAINT);
  BitBlt(table, dst, dx, dy, w, h, entry.DC, sx, sy, RasterOp::SRCAND);
}

void CellRestore(SurfaceTable& table, SurfaceHandle front, const BitmapEntry& background, int x,
                 int y) {
  int px = 0;
  int py = 0;
  if (!TileOrigin(x, TileWidth, px) || !TileOrigin(y, TileHeight, py)) return;
  BitBlt(table, front, px, py, TileWidth, TileHeight, background.DC, px, py, RasterOp::SRCCOPY);
}

void BlockDraw(SurfaceTable& table, SurfaceHandle front, const BitmapEntry& blocks, int x, int y,
               int v, int k) {
  int px = 0;
  int py = 0;
  int sx = 0;
  int sy = 0;
  if (!TileOrigin(x, TileWidth, px) || !TileOrigin(y, TileHeight, py) ||
      !TileOrigin(v, TileWidth, sx) || !TileOrigin(k, TileHeight, sy)) {
    return;
  }
  MaskedDraw(table, front, px, py, TileWidth, TileHeight, blocks, sx, sy);
}

}  // namespace orvo::gfx
