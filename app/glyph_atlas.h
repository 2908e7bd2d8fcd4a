// Label text from glyphs rendered once by orvo-make-glyphs and committed as
// assets/label_glyphs.atlas (tools/glyphs/README.md has the file format),
// for the platforms that have no font engine of their own (the web page, the
// Windows program): read from the atlas file and rendered as the desktop
// renders its text.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/form.h"
#include "app/platform.h"
#include "gfx/alpha_mask.h"
#include "gfx/surface.h"

namespace orvo::app {

class GlyphAtlas : public LabelText {
 public:
  // Limits of what Parse accepts; the real fonts are far inside them.
  static constexpr int kMaxGlyphSide = 256;
  static constexpr int kMaxLineHeight = 256;
  static constexpr std::uint32_t kMaxGlyphsPerFace = 1024;

  // Reads an atlas file. Every count and size is checked against the bytes
  // and the limits above; on failure says why in `reason`.
  static std::optional<GlyphAtlas> Parse(std::span<const std::uint8_t> bytes, std::string& reason);

  // A glyph's coverage as the file holds it: runs, each a control byte c
  // and what it says. c < 128: c + 1 pixels of 0; 128 <= c < 192: c - 127
  // pixels of 255; c >= 192: c - 191 pixels whose coverage follows, a byte
  // each. The labels' glyphs are mostly empty or fully covered, so the
  // atlas is a third of its plain size (it is built into orvo.exe).
  static std::vector<std::uint8_t> PackCoverage(std::span<const std::uint8_t> alpha);

  int LineHeight(FontFace face) const;
  // Whether `face` has a glyph for the character `codePoint`.
  bool HasGlyph(FontFace face, std::uint32_t codePoint) const;
  // The width DrawText covers: the glyphs' widths added up. Characters the
  // atlas lacks, and bytes that are no valid UTF-8, add nothing.
  int TextWidth(FontFace face, const std::string& utf8) const;
  // The text's coverage: TextWidth x LineHeight, the glyphs placed one
  // after the other by their widths (no kerning); characters the atlas
  // lacks and malformed UTF-8 bytes are skipped.
  gfx::AlphaMask Render(FontFace face, const std::string& utf8) const override;
  // Blends Render's mask in `color` with its top left corner at (x, y),
  // clipped to the target.
  void DrawText(gfx::Surface& target, int x, int y, FontFace face, const std::string& utf8,
                gfx::Color color) const;

 private:
  struct Glyph {
    std::uint32_t codePoint = 0;
    int width = 0;
    int height = 0;
    std::size_t alphaOffset = 0;  // into alpha_, width * height bytes
  };
  struct Face {
    int lineHeight = 0;
    std::vector<Glyph> glyphs;  // sorted by code point
  };
  static constexpr int kFaceCount = 3;

  const Face& FaceOf(FontFace face) const;
  const Glyph* Find(const Face& face, std::uint32_t codePoint) const;

  std::array<Face, kFaceCount> faces_;
  std::vector<std::uint8_t> alpha_;
};

}  // namespace orvo::app
