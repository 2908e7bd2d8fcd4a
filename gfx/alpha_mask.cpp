#include "gfx/alpha_mask.h"

#include "gfx/clip.h"

namespace orvo::gfx {

AlphaMask::AlphaMask(int width, int height) {
  if (width <= 0 || height <= 0) return;
  Width = width;
  Height = height;
  Alpha.assign(static_cast<std::size_t>(width) * height, 0);
}

Color BlendCoverage(Color color, Color under, std::uint32_t alpha) {
  if (alpha >= 255) return color & 0xFFFFFF;
  if (alpha == 0) return under;
  Color out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t src = (color >> shift) & 0xFF;
    const std::uint32_t dst = (under >> shift) & 0xFF;
    out |= (((src * alpha) >> 8) + ((dst * (255 - alpha)) >> 8)) << shift;
  }
  return out;
}

void BlendMask(Surface& dst, int x, int y, const AlphaMask& mask, Color color) {
  ClipAxis across{x, 0, mask.Width};
  ClipAxis down{y, 0, mask.Height};
  if (!Clip(across, dst.Width(), mask.Width) || !Clip(down, dst.Height(), mask.Height)) return;
  for (std::int64_t r = 0; r < down.n; ++r) {
    const std::uint8_t* alpha = mask.Row(static_cast<int>(down.s + r)) + across.s;
    Color* row = dst.Row(static_cast<int>(down.d + r)) + across.d;
    for (std::int64_t i = 0; i < across.n; ++i) {
      if (alpha[i] != 0) row[i] = BlendCoverage(color, row[i], alpha[i]);
    }
  }
}

}  // namespace orvo::gfx
