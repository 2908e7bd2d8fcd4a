#include "app/window_scale.h"

#include <algorithm>

#include "app/form.h"

namespace orvo::app {

namespace {

// Division rounding towards minus infinity.
int FloorDiv(int a, int b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

int WindowScale(int width, int height) {
  const int across = width * kComfortablePercent / (100 * kClientWidth);
  const int down = height * kComfortablePercent / (100 * kClientHeight);
  return std::max(1, std::min(across, down));
}

Placement FitInside(int width, int height) {
  Placement p;
  p.scale = std::max(1, std::min(width / kClientWidth, height / kClientHeight));
  p.x = (width - kClientWidth * p.scale) / 2;
  p.y = (height - kClientHeight * p.scale) / 2;
  return p;
}

void ToGamePixel(const Placement& placement, int cx, int cy, int& x, int& y) {
  x = FloorDiv(cx - placement.x, placement.scale);
  y = FloorDiv(cy - placement.y, placement.scale);
}

}  // namespace orvo::app
