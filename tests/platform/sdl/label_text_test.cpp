// The labels' fonts and their rendering with SDL_ttf.
#include "platform/sdl/label_text.h"

#include <gtest/gtest.h>

namespace orvo::sdl {
namespace {

using app::FontFace;

TEST(Fonts, EveryFaceOpensAndHasTheBombGlyph) {
  FontSet fonts;
  for (FontFace face : {FontFace::Fixedsys, FontFace::WindowDefault, FontFace::ArialBold}) {
    ASSERT_NE(fonts.For(face), nullptr) << static_cast<int>(face);
    EXPECT_NE(TTF_GlyphIsProvided32(fonts.For(face), 0xA4), 0) << fonts.FileOf(face);
  }
}

TEST(SdlLabelText, RendersTheCoverageOfTtfsBlendedText) {
  FontSet fonts;
  SdlLabelText text;
  EXPECT_TRUE(text.Render(FontFace::Fixedsys, "Start").Empty()) << "no fonts yet";
  text.SetFonts(&fonts);
  for (FontFace face : {FontFace::Fixedsys, FontFace::WindowDefault, FontFace::ArialBold}) {
    const gfx::AlphaMask mask = text.Render(face, "Bombs_\xC2\xA4");
    int w = 0, h = 0;
    ASSERT_EQ(TTF_SizeUTF8(fonts.For(face), "Bombs_\xC2\xA4", &w, &h), 0);
    EXPECT_EQ(mask.Width, w);
    EXPECT_EQ(mask.Height, TTF_FontHeight(fonts.For(face)));
    int full = 0, partial = 0;
    for (std::uint8_t a : mask.Alpha) {
      full += a == 255;
      partial += a > 0 && a < 255;
    }
    EXPECT_GT(full + partial, mask.Width) << "ink in the text";
    EXPECT_LT(full + partial, mask.Width * mask.Height) << "and background between";
    EXPECT_TRUE(text.Render(face, "").Empty());
  }
}

}  // namespace
}  // namespace orvo::sdl
