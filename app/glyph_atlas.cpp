// Reading the glyph atlas and rendering text from it.
#include "app/glyph_atlas.h"

#include <algorithm>

#include "gfx/utf8_text.h"

namespace orvo::app {

namespace {

constexpr std::uint8_t kMagic[8] = {'O', 'R', 'V', 'O', 'G', 'L', 'Y', 'F'};
constexpr std::uint32_t kVersion = 2;
// The run kinds of PackCoverage: zeros, full coverage, literal bytes.
constexpr std::uint8_t kFullRuns = 128;
constexpr std::uint8_t kLiteralRuns = 192;
constexpr std::uint32_t kNoCharacter = 0xFFFFFFFF;

// Little-endian reads that never pass the end of the bytes.
class Cursor {
 public:
  explicit Cursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t Left() const { return bytes_.size() - at_; }
  bool U16(std::uint32_t& v) { return Read(2, v); }
  bool U32(std::uint32_t& v) { return Read(4, v); }
  // The next `n` bytes, or nothing when fewer are left.
  std::optional<std::span<const std::uint8_t>> Take(std::size_t n) {
    if (n > Left()) return std::nullopt;
    const std::span<const std::uint8_t> part = bytes_.subspan(at_, n);
    at_ += n;
    return part;
  }

 private:
  bool Read(std::size_t n, std::uint32_t& v) {
    if (n > Left()) return false;
    v = 0;
    for (std::size_t i = 0; i < n; ++i) v |= static_cast<std::uint32_t>(bytes_[at_ + i]) << (8 * i);
    at_ += n;
    return true;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

// The code point at `i`, moving past it (gfx::NextCodePoint). A byte that
// begins no well-formed sequence is passed alone and gives kNoCharacter,
// which no glyph has, so the next byte is tried afresh.
std::uint32_t NextCodePoint(const std::string& s, std::size_t& i) {
  return gfx::NextCodePoint(s, i).value_or(kNoCharacter);
}

// Unpacks `count` pixels of coverage (PackCoverage) from `in` onto `out`;
// false when the runs are cut off or cover more than `count` pixels.
bool UnpackCoverage(Cursor& in, std::size_t count, std::vector<std::uint8_t>& out) {
  while (count > 0) {
    const auto control = in.Take(1);
    if (!control) return false;
    const std::uint8_t c = (*control)[0];
    const std::size_t n = c < kFullRuns      ? c + 1u
                          : c < kLiteralRuns ? c - kFullRuns + 1u
                                             : c - kLiteralRuns + 1u;
    if (n > count) return false;
    if (c < kLiteralRuns) {
      out.insert(out.end(), n, c < kFullRuns ? 0 : 255);
    } else {
      const auto literal = in.Take(n);
      if (!literal) return false;
      out.insert(out.end(), literal->begin(), literal->end());
    }
    count -= n;
  }
  return true;
}

}  // namespace

std::vector<std::uint8_t> GlyphAtlas::PackCoverage(std::span<const std::uint8_t> alpha) {
  std::vector<std::uint8_t> packed;
  std::size_t i = 0;
  while (i < alpha.size()) {
    const std::uint8_t a = alpha[i];
    std::size_t n = 1;
    if (a == 0 || a == 255) {
      const std::size_t most = a == 0 ? kFullRuns : kLiteralRuns - kFullRuns;
      while (n < most && i + n < alpha.size() && alpha[i + n] == a) ++n;
      packed.push_back(static_cast<std::uint8_t>((a == 0 ? 0 : kFullRuns) + n - 1));
    } else {
      const std::size_t most = 256 - kLiteralRuns;
      while (n < most && i + n < alpha.size() && alpha[i + n] != 0 && alpha[i + n] != 255) ++n;
      packed.push_back(static_cast<std::uint8_t>(kLiteralRuns + n - 1));
      packed.insert(packed.end(), alpha.begin() + static_cast<std::ptrdiff_t>(i),
                    alpha.begin() + static_cast<std::ptrdiff_t>(i + n));
    }
    i += n;
  }
  return packed;
}

std::optional<GlyphAtlas> GlyphAtlas::Parse(std::span<const std::uint8_t> bytes,
                                            std::string& reason) {
  Cursor in(bytes);
  const auto magic = in.Take(sizeof kMagic);
  if (!magic || !std::equal(magic->begin(), magic->end(), std::begin(kMagic))) {
    reason = "not a glyph atlas (no ORVOGLYF header)";
    return std::nullopt;
  }
  std::uint32_t version = 0;
  std::uint32_t faceCount = 0;
  if (!in.U32(version) || !in.U32(faceCount)) {
    reason = "glyph atlas header cut off";
    return std::nullopt;
  }
  if (version != kVersion) {
    reason =
        "glyph atlas version " + std::to_string(version) + ", expected " + std::to_string(kVersion);
    return std::nullopt;
  }
  if (faceCount != kFaceCount) {
    reason = "glyph atlas has " + std::to_string(faceCount) + " faces, expected " +
             std::to_string(kFaceCount);
    return std::nullopt;
  }

  GlyphAtlas atlas;
  for (int f = 0; f < kFaceCount; ++f) {
    const std::string where = "face " + std::to_string(f);
    Face& face = atlas.faces_[f];
    std::uint32_t lineHeight = 0;
    std::uint32_t glyphCount = 0;
    if (!in.U32(lineHeight) || !in.U32(glyphCount)) {
      reason = where + ": header cut off";
      return std::nullopt;
    }
    if (lineHeight == 0 || lineHeight > kMaxLineHeight) {
      reason = where + ": line height " + std::to_string(lineHeight) + " out of range";
      return std::nullopt;
    }
    if (glyphCount > kMaxGlyphsPerFace) {
      reason = where + ": " + std::to_string(glyphCount) + " glyphs, more than allowed";
      return std::nullopt;
    }
    face.lineHeight = static_cast<int>(lineHeight);
    face.glyphs.reserve(glyphCount);
    for (std::uint32_t g = 0; g < glyphCount; ++g) {
      const std::string at = where + ", glyph " + std::to_string(g);
      std::uint32_t codePoint = 0;
      std::uint32_t width = 0;
      std::uint32_t height = 0;
      if (!in.U32(codePoint) || !in.U16(width) || !in.U16(height)) {
        reason = at + ": cut off";
        return std::nullopt;
      }
      if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        reason = at + ": no Unicode character";
        return std::nullopt;
      }
      // Ascending order makes every character appear once and lets
      // drawing find it by binary search.
      if (!face.glyphs.empty() && codePoint <= face.glyphs.back().codePoint) {
        reason = at + ": characters out of order or repeated";
        return std::nullopt;
      }
      if (width > kMaxGlyphSide || height > kMaxGlyphSide) {
        reason = at + ": " + std::to_string(width) + " x " + std::to_string(height) +
                 " pixels, larger than allowed";
        return std::nullopt;
      }
      const std::size_t offset = atlas.alpha_.size();
      if (!UnpackCoverage(in, static_cast<std::size_t>(width) * height, atlas.alpha_)) {
        reason = at + ": pixels cut off or overrun";
        return std::nullopt;
      }
      face.glyphs.push_back(
          Glyph{codePoint, static_cast<int>(width), static_cast<int>(height), offset});
    }
  }
  if (in.Left() != 0) {
    reason = "glyph atlas has " + std::to_string(in.Left()) + " bytes after its last glyph";
    return std::nullopt;
  }
  return atlas;
}

const GlyphAtlas::Face& GlyphAtlas::FaceOf(FontFace face) const {
  static const Face kNone;
  const auto index = static_cast<std::size_t>(face);
  return index < faces_.size() ? faces_[index] : kNone;
}

const GlyphAtlas::Glyph* GlyphAtlas::Find(const Face& face, std::uint32_t codePoint) const {
  const auto it = std::lower_bound(face.glyphs.begin(), face.glyphs.end(), codePoint,
                                   [](const Glyph& g, std::uint32_t c) { return g.codePoint < c; });
  return it != face.glyphs.end() && it->codePoint == codePoint ? &*it : nullptr;
}

int GlyphAtlas::LineHeight(FontFace face) const {
  return FaceOf(face).lineHeight;
}

bool GlyphAtlas::HasGlyph(FontFace face, std::uint32_t codePoint) const {
  return Find(FaceOf(face), codePoint) != nullptr;
}

int GlyphAtlas::TextWidth(FontFace face, const std::string& utf8) const {
  const Face& f = FaceOf(face);
  int width = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const Glyph* glyph = Find(f, NextCodePoint(utf8, i));
    if (glyph) width += glyph->width;
  }
  return width;
}

gfx::AlphaMask GlyphAtlas::Render(FontFace face, const std::string& utf8) const {
  const Face& f = FaceOf(face);
  gfx::AlphaMask mask(TextWidth(face, utf8), f.lineHeight);
  int pen = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const Glyph* glyph = Find(f, NextCodePoint(utf8, i));
    if (!glyph) continue;
    const int rows = std::min(glyph->height, mask.Height);
    for (int y = 0; y < rows; ++y) {
      const std::uint8_t* alpha =
          alpha_.data() + glyph->alphaOffset + static_cast<std::size_t>(y) * glyph->width;
      std::copy(alpha, alpha + glyph->width, mask.Row(y) + pen);
    }
    pen += glyph->width;
  }
  return mask;
}

void GlyphAtlas::DrawText(gfx::Surface& target, int x, int y, FontFace face,
                          const std::string& utf8, gfx::Color color) const {
  gfx::BlendMask(target, x, y, Render(face, utf8), color);
}

}  // namespace orvo::app
