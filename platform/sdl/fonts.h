// The label fonts, found through fontconfig and opened with SDL2_ttf.
#pragma once

#include <SDL2/SDL_ttf.h>

#include <array>
#include <string>

#include "app/form.h"

namespace orvo::sdl {

using app::FontFace;

class FontSet {
 public:
  // Opens one font for each face. A face for which nothing can be opened
  // stays null (see Missing()).
  FontSet();
  ~FontSet();
  FontSet(const FontSet&) = delete;
  FontSet& operator=(const FontSet&) = delete;

  TTF_Font* For(FontFace face) const { return fonts_[Index(face)]; }
  // The height of a line of text in `face`; 0 when it has no font.
  int LineHeight(FontFace face) const;
  // The file the face was opened from (empty when none), for diagnostics.
  const std::string& FileOf(FontFace face) const { return files_[Index(face)]; }
  // Empty when every face has a font; otherwise names the fonts looked for
  // in vain, for the start-up failure message.
  const std::string& Missing() const { return missing_; }

 private:
  static int Index(FontFace face) { return static_cast<int>(face); }

  std::array<TTF_Font*, 3> fonts_{};
  std::array<std::string, 3> files_;
  std::string missing_;
  bool ttf_ready_ = false;
};

}  // namespace orvo::sdl
