// The web platform's glyph atlas: files built here byte by byte are read
// back, damaged ones refused, and text is blended, placed and clipped as the
// desktop's SDL blit does it.
#include "app/glyph_atlas.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace orvo::app {
namespace {

using orvo::app::FontFace;
using Bytes = std::vector<std::uint8_t>;

struct TestGlyph {
  std::uint32_t codePoint;
  int width;
  int height;
  Bytes alpha;  // width * height, rows top to bottom
};

struct TestFace {
  std::uint32_t lineHeight;
  std::vector<TestGlyph> glyphs;
};

void PutU16(Bytes& out, std::uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}

void PutU32(Bytes& out, std::uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

Bytes Serialise(const std::vector<TestFace>& faces) {
  Bytes out = {'O', 'R', 'V', 'O', 'G', 'L', 'Y', 'F'};
  PutU32(out, 2);
  PutU32(out, static_cast<std::uint32_t>(faces.size()));
  for (const TestFace& face : faces) {
    PutU32(out, face.lineHeight);
    PutU32(out, static_cast<std::uint32_t>(face.glyphs.size()));
    for (const TestGlyph& g : face.glyphs) {
      PutU32(out, g.codePoint);
      PutU16(out, g.width);
      PutU16(out, g.height);
      const Bytes packed = GlyphAtlas::PackCoverage(g.alpha);
      out.insert(out.end(), packed.begin(), packed.end());
    }
  }
  return out;
}

TestGlyph Solid(std::uint32_t codePoint, int width, int height, std::uint8_t alpha = 255) {
  return {codePoint, width, height, Bytes(static_cast<std::size_t>(width) * height, alpha)};
}

// Fixedsys: 'A' 2 x 3, 'B' 3 x 3 with a pattern of alphas, the bomb 1 x 3.
// WindowDefault: '.' holding the alphas the blend test looks at.
// ArialBold: no glyphs at all.
std::vector<TestFace> SmallFaces() {
  return {
      {3,
       {Solid('A', 2, 3), {'B', 3, 3, {0, 64, 128, 192, 255, 1, 254, 10, 200}}, Solid(0xA4, 1, 3)}},
      {5, {{'.', 5, 1, {0, 1, 128, 254, 255}}}},
      {7, {}},
  };
}

// The atlas of `bytes`; an empty one (which draws nothing) after a failure.
GlyphAtlas ParseOrFail(const Bytes& bytes) {
  std::string reason;
  std::optional<GlyphAtlas> atlas = GlyphAtlas::Parse(bytes, reason);
  if (!atlas) {
    ADD_FAILURE() << "refused: " << reason;
    return GlyphAtlas();
  }
  return std::move(*atlas);
}

std::string RefusalOf(const Bytes& bytes) {
  std::string reason;
  if (GlyphAtlas::Parse(bytes, reason)) return "(accepted)";
  return reason.empty() ? "(refused without a reason)" : reason;
}

TEST(GlyphAtlasParse, ReadsLineHeightsAndWidthsPerFace) {
  const GlyphAtlas atlas = ParseOrFail(Serialise(SmallFaces()));
  EXPECT_EQ(atlas.LineHeight(FontFace::Fixedsys), 3);
  EXPECT_EQ(atlas.LineHeight(FontFace::WindowDefault), 5);
  EXPECT_EQ(atlas.LineHeight(FontFace::ArialBold), 7);
  EXPECT_EQ(atlas.TextWidth(FontFace::Fixedsys, "ABBA"), 2 + 3 + 3 + 2);
  EXPECT_EQ(atlas.TextWidth(FontFace::Fixedsys, "A\xC2\xA4"), 3);
  EXPECT_EQ(atlas.TextWidth(FontFace::Fixedsys, ""), 0);
  EXPECT_EQ(atlas.TextWidth(FontFace::WindowDefault, "A.."), 10);
  EXPECT_EQ(atlas.TextWidth(FontFace::ArialBold, "AB"), 0);
  // A face number the game does not have reads as an empty face.
  EXPECT_EQ(atlas.LineHeight(static_cast<FontFace>(7)), 0);
  EXPECT_EQ(atlas.TextWidth(static_cast<FontFace>(7), "AB"), 0);
}

TEST(GlyphAtlasParse, RefusesEveryTruncationAndTrailingBytes) {
  const Bytes whole = Serialise(SmallFaces());
  for (std::size_t n = 0; n < whole.size(); ++n) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_NE(RefusalOf(cut), "(accepted)") << "cut to " << n << " bytes";
    EXPECT_NE(RefusalOf(cut), "(refused without a reason)") << "cut to " << n << " bytes";
  }
  Bytes longer = whole;
  longer.push_back(0);
  EXPECT_NE(RefusalOf(longer).find("after its last glyph"), std::string::npos);
}

// Coverage goes through the file's runs unchanged, whatever its values and
// run lengths; runs that overrun a glyph or stop short are refused.
TEST(GlyphAtlasParse, PackedCoverageComesBackExactly) {
  Bytes mixed;
  for (int i = 0; i < 700; ++i) mixed.push_back(i % 97 < 40 ? 0 : i % 97 < 75 ? 255 : i % 251);
  EXPECT_TRUE(GlyphAtlas::PackCoverage({}).empty());
  for (const Bytes& alpha : {Bytes(300, 0), Bytes(300, 255), Bytes{7}, mixed}) {
    const Bytes packed = GlyphAtlas::PackCoverage(alpha);
    EXPECT_LE(packed.size(), alpha.size() + alpha.size() / 64 + 1);
    const int width = static_cast<int>(std::min<std::size_t>(alpha.size(), 100));
    const int height = static_cast<int>(alpha.size()) / width;
    const TestFace face{static_cast<std::uint32_t>(height), {{'A', width, height, alpha}}};
    std::string reason;
    const Bytes file = Serialise({face, TestFace{16, {}}, TestFace{16, {}}});
    const std::optional<GlyphAtlas> atlas = GlyphAtlas::Parse(file, reason);
    ASSERT_TRUE(atlas) << reason;
    EXPECT_EQ(atlas->Render(FontFace::Fixedsys, "A").Alpha, alpha);
  }
  // One glyph of 2 x 1: a run of three zeros overruns it; one of one stops short.
  for (const std::uint8_t run : {std::uint8_t{2}, std::uint8_t{0}}) {
    Bytes file =
        Serialise({TestFace{20, {{'A', 2, 1, Bytes{0, 0}}}}, TestFace{16, {}}, TestFace{16, {}}});
    const std::size_t at = 16 + 8 + 8;  // header, face header, glyph record
    ASSERT_EQ(file[at], 1);             // two zeros in one run
    file[at] = run;
    EXPECT_NE(RefusalOf(file).find("cut off or overrun"), std::string::npos) << int{run};
  }
}

TEST(GlyphAtlasParse, RefusesHostileHeadersAndGlyphs) {
  const Bytes good = Serialise(SmallFaces());
  // Offsets in SmallFaces' file: header 16, face 0 header at 16, its first
  // glyph record at 24 (code point, width at 28, height at 30).
  const auto patched = [&good](std::size_t at, std::uint32_t value, int size) {
    Bytes b = good;
    for (int i = 0; i < size; ++i) b[at + i] = (value >> (8 * i)) & 0xFF;
    return b;
  };
  EXPECT_NE(RefusalOf(patched(0, 'X', 1)).find("not a glyph atlas"), std::string::npos);
  EXPECT_NE(RefusalOf(patched(8, 1, 4)).find("version 1, expected 2"), std::string::npos);
  EXPECT_NE(RefusalOf(patched(12, 2, 4)).find("2 faces"), std::string::npos);
  EXPECT_NE(RefusalOf(patched(12, 0xFFFFFFFF, 4)).find("faces"), std::string::npos);
  EXPECT_NE(RefusalOf(patched(16, 0, 4)).find("line height"), std::string::npos);
  EXPECT_NE(RefusalOf(patched(16, 0x80000000, 4)).find("line height"), std::string::npos);
  EXPECT_NE(RefusalOf(patched(20, 0xFFFFFFFF, 4)).find("more than allowed"), std::string::npos);
  // The last face has no glyphs: its count is the file's last four bytes.
  EXPECT_NE(RefusalOf(patched(good.size() - 4, 1, 4)).find("cut off"), std::string::npos);
  EXPECT_NE(RefusalOf(patched(24, 0xD800, 4)).find("no Unicode"), std::string::npos);
  EXPECT_NE(RefusalOf(patched(24, 0x110000, 4)).find("no Unicode"), std::string::npos);
  EXPECT_NE(RefusalOf(patched(28, 257, 2)).find("larger than allowed"), std::string::npos);
  EXPECT_NE(RefusalOf(patched(30, 0xFFFF, 2)).find("larger than allowed"), std::string::npos);
  // The largest glyph allowed, declared without its pixels.
  Bytes huge = patched(28, 256, 2);
  huge = Bytes(huge.begin(), huge.begin() + 32);
  huge[30] = 0;
  huge[31] = 1;
  EXPECT_NE(RefusalOf(huge).find("pixels cut off"), std::string::npos);

  std::vector<TestFace> repeated = SmallFaces();
  repeated[0].glyphs[1].codePoint = 'A';
  EXPECT_NE(RefusalOf(Serialise(repeated)).find("out of order or repeated"), std::string::npos);
  std::vector<TestFace> unordered = SmallFaces();
  std::swap(unordered[0].glyphs[0], unordered[0].glyphs[1]);
  EXPECT_NE(RefusalOf(Serialise(unordered)).find("out of order or repeated"), std::string::npos);
}

class GlyphAtlasDraw : public ::testing::Test {
 protected:
  static constexpr gfx::Color kBack = gfx::Rgb(10, 250, 128);
  static constexpr gfx::Color kInk = gfx::Rgb(200, 100, 0);
  GlyphAtlas atlas_ = ParseOrFail(Serialise(SmallFaces()));
};

TEST_F(GlyphAtlasDraw, BlendsEachChannelWithSdlsRounding) {
  gfx::Surface s(5, 1, kBack);
  atlas_.DrawText(s, 0, 0, FontFace::WindowDefault, ".", kInk);
  // Alphas 0, 1, 128, 254, 255. Each channel is (ink * a >> 8) +
  // (back * (255 - a) >> 8); worked out by hand for these values.
  EXPECT_EQ(s.Row(0)[0], kBack);
  EXPECT_EQ(s.Row(0)[1], gfx::Rgb(9, 248, 127));
  EXPECT_EQ(s.Row(0)[2], gfx::Rgb(104, 174, 63));  // an exact mix would be 105, 175, 64
  EXPECT_EQ(s.Row(0)[3], gfx::Rgb(198, 99, 0));
  EXPECT_EQ(s.Row(0)[4], kInk);
}

TEST_F(GlyphAtlasDraw, PlacesGlyphsOneAfterAnother) {
  gfx::Surface s(10, 6, gfx::kBlack);
  atlas_.DrawText(s, 1, 2, FontFace::Fixedsys, "AB\xC2\xA4", gfx::kWhite);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool inA = x >= 1 && x < 3 && y >= 2 && y < 5;
      const bool inBomb = x == 6 && y >= 2 && y < 5;
      if (inA || inBomb) {
        EXPECT_EQ(s.Row(y)[x], gfx::kWhite) << x << "," << y;
      } else if (x < 3 || x > 5 || y < 2 || y > 4) {
        EXPECT_EQ(s.Row(y)[x], gfx::kBlack) << x << "," << y;
      }
    }
  }
  // B's alphas in white over black: a >> 8 of 255 * a, except at 0 and 255.
  EXPECT_EQ(s.Row(2)[3], gfx::kBlack);
  EXPECT_EQ(s.Row(2)[4], gfx::Rgb(63, 63, 63));
  EXPECT_EQ(s.Row(3)[4], gfx::kWhite);
  EXPECT_EQ(s.Row(4)[5], gfx::Rgb(199, 199, 199));
}

TEST_F(GlyphAtlasDraw, ClipsAtEveryEdgeAsADrawingOnALargerSurfaceCropped) {
  constexpr int kW = 4;
  constexpr int kH = 2;
  constexpr int kPad = 12;
  for (int y = -4; y <= kH + 1; ++y) {
    for (int x = -10; x <= kW + 1; ++x) {
      gfx::Surface small(kW, kH, kBack);
      atlas_.DrawText(small, x, y, FontFace::Fixedsys, "BAB", kInk);
      gfx::Surface large(kW + 2 * kPad, kH + 2 * kPad, kBack);
      atlas_.DrawText(large, x + kPad, y + kPad, FontFace::Fixedsys, "BAB", kInk);
      for (int py = 0; py < kH; ++py) {
        for (int px = 0; px < kW; ++px) {
          ASSERT_EQ(small.Row(py)[px], large.Row(py + kPad)[px + kPad])
              << "text at " << x << "," << y << ", pixel " << px << "," << py;
        }
      }
    }
  }
  gfx::Surface empty;
  atlas_.DrawText(empty, 0, 0, FontFace::Fixedsys, "AB", kInk);
  gfx::Surface far(3, 3, kBack);
  atlas_.DrawText(far, 2147483000, -2147483000, FontFace::Fixedsys, std::string(1000, 'B'), kInk);
  atlas_.DrawText(far, -2147483000, 0, FontFace::Fixedsys, std::string(1000, 'B'), kInk);
  EXPECT_EQ(far.Pixels(), gfx::Surface(3, 3, kBack).Pixels());
}

// What the atlas lacks and what is no valid UTF-8 is skipped, so each of
// these draws exactly as "AB".
TEST_F(GlyphAtlasDraw, SkipsUnknownCharactersAndMalformedUtf8) {
  gfx::Surface expected(8, 3, kBack);
  atlas_.DrawText(expected, 0, 0, FontFace::Fixedsys, "AB", kInk);
  const char* const variants[] = {
      "AzB",  // a character the face has no glyph for
      "A\xC3\xA9"
      "B",  // é, two bytes, not in the atlas
      "A\xE2\x82\xAC"
      "B",  // €, three bytes
      "A\xF0\x9F\x92\xA3"
      "B",  // four bytes
      "\x80"
      "A\xBF"
      "B",  // stray continuation bytes
      "A\xC2"
      "B",  // a lead byte without its continuation
      "A\xC0\xAF"
      "B",  // an overlong '/'
      "A\xE0\x80\xA4"
      "B",  // an overlong bomb
      "A\xED\xA0\x80"
      "B",  // a surrogate
      "A\xF4\x90\x80\x80"
      "B",  // beyond U+10FFFF
      "A\xFF\xFE"
      "B",           // bytes UTF-8 never uses
      "AB\xE2\x82",  // cut off at the end
      "AB\xF0",
  };
  for (const char* text : variants) {
    gfx::Surface s(8, 3, kBack);
    atlas_.DrawText(s, 0, 0, FontFace::Fixedsys, text, kInk);
    EXPECT_EQ(s.Pixels(), expected.Pixels()) << testing::PrintToString(std::string(text));
    EXPECT_EQ(atlas_.TextWidth(FontFace::Fixedsys, text), 5)
        << testing::PrintToString(std::string(text));
  }
  // The overlong bomb's last byte is not taken for a character of its own.
  EXPECT_EQ(atlas_.TextWidth(FontFace::Fixedsys, "\xC1\xA4"), 0);
}

}  // namespace
}  // namespace orvo::app
