// The labels' text rendered with SDL_ttf from the fonts fontconfig found:
// the coverage of TTF's blended rendering.
#pragma once

#include "app/platform.h"
#include "platform/sdl/fonts.h"

namespace orvo::sdl {

class SdlLabelText : public app::LabelText {
 public:
  // The fonts to render with (null: none yet, every caption renders empty).
  void SetFonts(const FontSet* fonts) { fonts_ = fonts; }
  gfx::AlphaMask Render(app::FontFace face, const std::string& utf8) const override;

 private:
  const FontSet* fonts_ = nullptr;
};

// The coverage of `utf8` in `font` (null: none), as TTF renders it blended.
gfx::AlphaMask RenderCoverage(TTF_Font* font, const std::string& utf8);

}  // namespace orvo::sdl
