// Block transfer between surfaces with the three Boolean raster operations
// the game draws with. All clipping of the whole program happens here.
#pragma once

#include <cstdint>

#include "gfx/surface.h"
#include "gfx/surface_table.h"

namespace orvo::gfx {

enum class RasterOp : std::uint32_t {
  SRCCOPY = 0x00CC0020,   // d := s
  SRCPAINT = 0x00EE0086,  // d := d OR s
  SRCAND = 0x008800C6,    // d := d AND s
};

// Combines the w x h source rectangle at (sx, sy) into the destination
// rectangle at (dx, dy). Parts of either rectangle that lie outside their
// surface are left out (with the matching part of the other rectangle), so
// no pixel outside a surface is ever read or written, whatever the
// arguments. Zero or negative sizes do nothing. src may be dst.
void BitBlt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy,
            RasterOp op);

// The same on handles; a handle that names no surface skips the draw.
void BitBlt(SurfaceTable& table, SurfaceHandle dst, int dx, int dy, int w, int h, SurfaceHandle src,
            int sx, int sy, RasterOp op);

}  // namespace orvo::gfx
