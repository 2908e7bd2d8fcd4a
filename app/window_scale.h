// Where the game's 580 x 388 pixels go on a screen: a whole multiple of
// them, so that every pixel stays square and sharp. Plain arithmetic on the
// sizes a system reports, for every window (the page fits itself to the
// same numbers).
#pragma once

namespace orvo::app {

// The share of the usable screen (without task bars and panels) that a new
// window may take, in per cent.
inline constexpr int kComfortablePercent = 85;

struct Placement {
  int scale = 1;  // screen pixels per game pixel, across and down
  int x = 0;      // the picture's top left corner in the client area
  int y = 0;
};

// The scale of a new window whose client area is at most
// kComfortablePercent of a usable screen of `width` x `height`; at least 1.
int WindowScale(int width, int height);

// The largest whole multiple that fits a client area of `width` x `height`
// (the full screen), centred; at least 1, even on a smaller screen.
Placement FitInside(int width, int height);

// The game pixel under the client area's pixel (cx, cy) for `placement`.
// Points left of or above the picture give negative coordinates.
void ToGamePixel(const Placement& placement, int cx, int cy, int& x, int& y);

}  // namespace orvo::app
