// Off-screen pixel surfaces: the game's drawing surfaces, mask surfaces and
// decoded pictures are all plain W x H arrays of colours.
#pragma once

#include <cstdint>
#include <vector>

namespace orvo::gfx {

// A colour as 24-bit RGB held in 32 bits: red in the low byte, then green,
// then blue. The high byte is always 0 for colours stored in a surface.
using Color = std::uint32_t;

inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;
// What GetPixel answers for a position outside the surface.
inline constexpr Color kNoColor = 0xFFFFFFFF;

constexpr Color Rgb(unsigned r, unsigned g, unsigned b) {
  return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}

class Surface {
 public:
  Surface() = default;
  // Negative sizes give an empty surface.
  Surface(int width, int height, Color fill = kBlack);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return pixels_.empty(); }

  // Row y, y in [0, Height()); no bounds check (hot paths clip first).
  Color* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  const Color* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  std::vector<Color>& Pixels() { return pixels_; }
  const std::vector<Color>& Pixels() const { return pixels_; }

  void Fill(Color c);

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Color> pixels_;
};

// Outside the surface: GetPixel returns kNoColor, SetPixel does nothing.
Color GetPixel(const Surface& s, int x, int y);
void SetPixel(Surface& s, int x, int y, Color c);

}  // namespace orvo::gfx
