#include "gfx/sprite_draw.h"

#include "gfx/bitblt.h"

namespace orvo::gfx {

void MaskedDraw(SurfaceTable& table, SurfaceHandle dst, int dx, int dy, int w, int h,
                const BitmapEntry& entry, int sx, int sy) {
  // The mask turns the opaque pixels white, then the picture ANDs its own
  // colours into them; under exactly-white pixels both passes change nothing.
  BitBlt(table, dst, dx, dy, w, h, entry.MaskDC, sx, sy, RasterOp::SRCPAINT);
  BitBlt(table, dst, dx, dy, w, h, entry.DC, sx, sy, RasterOp::SRCAND);
}

}  // namespace orvo::gfx
