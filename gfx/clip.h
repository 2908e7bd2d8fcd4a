// The one clip of the program: every transfer between two pixel rectangles
// (a block transfer, a blended mask) cuts its rectangles here, so that no
// pixel outside a surface is ever read or written, whatever the arguments.
#pragma once

#include <algorithm>
#include <cstdint>

namespace orvo::gfx {

// One axis of a transfer: destination start, source start and length. The
// clip runs in 64 bits so that no argument near the int limits can overflow.
struct ClipAxis {
  std::int64_t d;
  std::int64_t s;
  std::int64_t n;
};

// Cuts the axis to the part that lies inside both the destination (of
// length dst_len) and the source (of length src_len); false when nothing is
// left.
inline bool Clip(ClipAxis& a, std::int64_t dst_len, std::int64_t src_len) {
  if (a.n <= 0) return false;
  const std::int64_t skip = std::max<std::int64_t>({0, -a.d, -a.s});
  a.d += skip;
  a.s += skip;
  a.n -= skip;
  a.n = std::min({a.n, dst_len - a.d, src_len - a.s});
  return a.n > 0;
}

}  // namespace orvo::gfx
