#include "platform/sdl/label_text.h"

namespace orvo::sdl {

gfx::AlphaMask RenderCoverage(TTF_Font* font, const std::string& utf8) {
  if (!font || utf8.empty()) return {};
  // Blended rendering gives every pixel the colour asked for and the
  // glyphs' coverage as its alpha.
  SDL_Surface* text = TTF_RenderUTF8_Blended(font, utf8.c_str(), SDL_Color{255, 255, 255, 255});
  if (!text) return {};
  gfx::AlphaMask mask(text->w, text->h);
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(text, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(text);
  if (!argb) return {};
  if (SDL_LockSurface(argb) == 0) {
    for (int y = 0; y < mask.Height; ++y) {
      const auto* row = reinterpret_cast<const Uint32*>(
          static_cast<const Uint8*>(argb->pixels) + static_cast<std::ptrdiff_t>(y) * argb->pitch);
      for (int x = 0; x < mask.Width; ++x) mask.Row(y)[x] = static_cast<std::uint8_t>(row[x] >> 24);
    }
    SDL_UnlockSurface(argb);
  }
  SDL_FreeSurface(argb);
  return mask;
}

gfx::AlphaMask SdlLabelText::Render(app::FontFace face, const std::string& utf8) const {
  return RenderCoverage(fonts_ ? fonts_->For(face) : nullptr, utf8);
}

}  // namespace orvo::sdl
