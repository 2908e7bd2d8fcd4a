#include "platform/web/frame_delta.h"

#include <algorithm>

namespace orvo::web {

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

}  // namespace

FrameRect ShownFrame::Update(const gfx::Surface& frame) {
  const int width = frame.Width();
  const int height = frame.Height();
  if (width != width_ || height != height_ || rgba_.empty()) {
    width_ = width;
    height_ = height;
    const std::vector<gfx::Color>& pixels = frame.Pixels();
    rgba_.resize(pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i) rgba_[i] = pixels[i] | kOpaque;
    return pixels.empty() ? FrameRect{} : FrameRect{0, 0, width, height};
  }
  int left = width;
  int right = -1;
  int top = height;
  int bottom = -1;
  for (int y = 0; y < height; ++y) {
    const gfx::Color* from = frame.Row(y);
    std::uint32_t* to = rgba_.data() + static_cast<std::size_t>(y) * width;
    int first = -1;
    int last = -1;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t colour = from[x] | kOpaque;
      if (to[x] == colour) continue;
      to[x] = colour;
      if (first < 0) first = x;
      last = x;
    }
    if (first < 0) continue;
    left = std::min(left, first);
    right = std::max(right, last);
    top = std::min(top, y);
    bottom = y;
  }
  if (bottom < 0) return FrameRect{};
  return FrameRect{left, top, right - left + 1, bottom - top + 1};
}

}  // namespace orvo::web
