// What of a frame the canvas must draw anew: the page keeps the last frame
// it was given (as the canvas's RGBA words) and redraws only the rectangle
// that changed since. Redrawing the whole 580 x 388 window for a pair that
// slid one column would have the browser copy, upload and compose every
// pixel of it about once a second while nobody touches the game.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/surface.h"

namespace orvo::web {

struct FrameRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  bool Empty() const { return width <= 0 || height <= 0; }
};

class ShownFrame {
 public:
  // Brings the kept frame up to `frame` and returns the smallest rectangle
  // that holds every pixel that changed: the whole frame the first time and
  // when the size changed, an empty one when nothing did.
  FrameRect Update(const gfx::Surface& frame);

  // The kept frame, row by row: each 0x00BBGGRR colour as the bytes R, G,
  // B, 255 (an opaque canvas pixel).
  const std::vector<std::uint32_t>& Pixels() const { return rgba_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  std::vector<std::uint32_t> rgba_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace orvo::web
