#include "gfx/bitblt.h"

#include "gfx/clip.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace orvo::gfx {

namespace {

template <RasterOp Op>
inline Color Combine(Color d, Color s) {
  if constexpr (Op == RasterOp::SRCCOPY) {
    (void)d;
    return s;
  } else if constexpr (Op == RasterOp::SRCPAINT) {
    return d | s;
  } else {
    return d & s;
  }
}

// Rows of different places: the eight-pixel blocks have a fixed trip count,
// so the compiler turns them into vector code even at -O2.
template <RasterOp Op>
void RowDisjoint(Color* __restrict d, const Color* __restrict s, std::size_t n) {
  if constexpr (Op == RasterOp::SRCCOPY) {
    std::memcpy(d, s, n * sizeof(Color));
  } else {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
      for (std::size_t k = 0; k < 8; ++k) d[i + k] = Combine<Op>(d[i + k], s[i + k]);
    }
    for (; i < n; ++i) d[i] = Combine<Op>(d[i], s[i]);
  }
}

// Source and destination in the same row of one surface. The walk goes away
// from the source's side, so every source pixel is read before the transfer
// writes over it.
template <RasterOp Op>
void RowOverlapping(Color* d, const Color* s, std::size_t n) {
  if constexpr (Op == RasterOp::SRCCOPY) {
    std::memmove(d, s, n * sizeof(Color));
  } else if (d > s) {
    for (std::size_t i = n; i-- > 0;) d[i] = Combine<Op>(d[i], s[i]);
  } else {
    for (std::size_t i = 0; i < n; ++i) d[i] = Combine<Op>(d[i], s[i]);
  }
}

template <RasterOp Op>
void Transfer(Surface& dst, const ClipAxis& x, const ClipAxis& y, const Surface& src) {
  const bool same = &dst == &src;
  // With src == dst, rows are taken in the order that reads each source row
  // before the transfer writes over it; only a transfer within the same rows
  // can overlap inside a row.
  const bool bottom_up = same && y.d > y.s;
  const bool same_rows = same && y.d == y.s;
  const auto w = static_cast<std::size_t>(x.n);
  for (std::int64_t i = 0; i < y.n; ++i) {
    const std::int64_t r = bottom_up ? y.n - 1 - i : i;
    Color* d = dst.Row(static_cast<int>(y.d + r)) + x.d;
    const Color* s = src.Row(static_cast<int>(y.s + r)) + x.s;
    if (same_rows) {
      RowOverlapping<Op>(d, s, w);
    } else {
      RowDisjoint<Op>(d, s, w);
    }
  }
}

}  // namespace

void BitBlt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy,
            RasterOp op) {
  ClipAxis x{dx, sx, w};
  ClipAxis y{dy, sy, h};
  if (!Clip(x, dst.Width(), src.Width()) || !Clip(y, dst.Height(), src.Height())) return;
  switch (op) {
    case RasterOp::SRCCOPY:
      Transfer<RasterOp::SRCCOPY>(dst, x, y, src);
      break;
    case RasterOp::SRCPAINT:
      Transfer<RasterOp::SRCPAINT>(dst, x, y, src);
      break;
    case RasterOp::SRCAND:
      Transfer<RasterOp::SRCAND>(dst, x, y, src);
      break;
  }
}

void BitBlt(SurfaceTable& table, SurfaceHandle dst, int dx, int dy, int w, int h, SurfaceHandle src,
            int sx, int sy, RasterOp op) {
  Surface* d = table.Get(dst);
  const Surface* s = table.Get(src);
  if (d == nullptr || s == nullptr) return;
  BitBlt(*d, dx, dy, w, h, *s, sx, sy, op);
}

}  // namespace orvo::gfx
