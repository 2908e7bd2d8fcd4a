// A coverage mask: how much of each pixel a shape (a line of text) covers,
// 0 none to 255 all, and its blending onto a surface in one colour.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/surface.h"

namespace orvo::gfx {

struct AlphaMask {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Alpha;  // Width * Height, row by row from the top

  AlphaMask() = default;
  // Negative sizes give an empty mask; every pixel starts uncovered.
  AlphaMask(int width, int height);
  bool Empty() const { return Alpha.empty(); }
  std::uint8_t* Row(int y) { return Alpha.data() + static_cast<std::size_t>(y) * Width; }
  const std::uint8_t* Row(int y) const {
    return Alpha.data() + static_cast<std::size_t>(y) * Width;
  }
};

// `color` over `under` where the shape covers `alpha` of the pixel, as
// SDL 2's software blit mixes a blended text surface (per-pixel alpha) onto
// a 32-bit surface on x86-64: both products are shifted by 8 rather than
// divided by 255, so a partly covered pixel comes out up to 2 below the
// exact mix. Full coverage copies the colour and none leaves the pixel, as
// SDL special-cases both. The labels look the same in every platform.
Color BlendCoverage(Color color, Color under, std::uint32_t alpha);

// Blends `mask` in `color` onto `dst` with its top left corner at (x, y),
// clipped to the surface.
void BlendMask(Surface& dst, int x, int y, const AlphaMask& mask, Color color);

}  // namespace orvo::gfx
