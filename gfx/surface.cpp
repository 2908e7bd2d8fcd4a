#include "gfx/surface.h"

#include <algorithm>

namespace orvo::gfx {

Surface::Surface(int width, int height, Color fill) {
  if (width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill & kWhite);
}

void Surface::Fill(Color c) {
  std::fill(pixels_.begin(), pixels_.end(), c & kWhite);
}

namespace {
bool Inside(const Surface& s, int x, int y) {
  return x >= 0 && y >= 0 && x < s.Width() && y < s.Height();
}
}  // namespace

Color GetPixel(const Surface& s, int x, int y) {
  if (!Inside(s, x, y)) return kNoColor;
  return s.Row(y)[x];
}

void SetPixel(Surface& s, int x, int y, Color c) {
  if (!Inside(s, x, y)) return;
  // Surfaces hold 24-bit colours only; the high byte is dropped.
  s.Row(y)[x] = c & kWhite;
}

}  // namespace orvo::gfx
