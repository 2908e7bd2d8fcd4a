// Font choice. "Fixedsys" is a raster face of fixed cells; the labels laid
// out for it are boxes of 10 x 20 pixels a character, and the window's
// default text (the next-level points) 8 x 15. Terminus, a crisp bitmap
// monospace face, has strikes of exactly these cells; where it is missing
// the system monospace face is sized to the same advance. "Arial" 20.25 pt
// bold at 96 dpi is 27 pixels, for which Liberation Sans has Arial's metrics.
#include "platform/sdl/fonts.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <optional>

namespace orvo::sdl {

using app::FontFace;

namespace {

constexpr Uint32 kBombGlyph = 0xA4;  // "¤", the glyph of a bomb

struct FontFile {
  std::string path;
  int index = 0;
};

// The file fontconfig picks for `pattern`. With `exactFamily` the match must
// be of that family (fontconfig otherwise answers with its nearest face).
std::optional<FontFile> Match(const char* pattern, const char* exactFamily) {
  FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
  if (!pat) return std::nullopt;
  FcConfigSubstitute(nullptr, pat, FcMatchPattern);
  FcDefaultSubstitute(pat);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pat, &result);
  FcPatternDestroy(pat);
  if (!match) return std::nullopt;
  std::optional<FontFile> found;
  FcChar8* file = nullptr;
  FcChar8* family = nullptr;
  int index = 0;
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    const bool familyOk =
        !exactFamily || (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch &&
                         strcasecmp(reinterpret_cast<const char*>(family), exactFamily) == 0);
    if (familyOk) found = FontFile{reinterpret_cast<const char*>(file), index};
  }
  FcPatternDestroy(match);
  return found;
}

int Advance(TTF_Font* font) {
  int advance = 0;
  TTF_GlyphMetrics32(font, '0', nullptr, nullptr, nullptr, nullptr, &advance);
  return advance;
}

// Opens `file` at the size whose character cell best fits `advance` x
// `height`: for a bitmap face the strike of that advance (the tallest one not
// above `height`), for a scalable face the largest pixel size whose advance
// is not wider.
TTF_Font* OpenCell(const FontFile& file, int advance, int height) {
  TTF_Font* font = TTF_OpenFontIndex(file.path.c_str(), 0, file.index);
  if (!font) return nullptr;
  // For a face without scalable outlines SDL2_ttf takes the size as the
  // index of a fixed strike; for outlines it is a pixel size at 72 dpi.
  int best = -1;
  int bestAdvance = -1;
  int bestHeight = -1;
  for (int size = 0; size <= 48; ++size) {
    if (TTF_SetFontSize(font, size) != 0) continue;
    const int a = Advance(font);
    const int h = TTF_FontHeight(font);
    if (a <= 0 || a > advance || h > height + 1) continue;
    if (a > bestAdvance || (a == bestAdvance && h > bestHeight)) {
      best = size;
      bestAdvance = a;
      bestHeight = h;
    }
  }
  if (best < 0 || TTF_SetFontSize(font, best) != 0) {
    TTF_CloseFont(font);
    return nullptr;
  }
  return font;
}

TTF_Font* OpenPixels(const FontFile& file, int pixels) {
  return TTF_OpenFontIndex(file.path.c_str(), pixels, file.index);
}

bool HasBombGlyph(TTF_Font* font) {
  return font && TTF_GlyphIsProvided32(font, kBombGlyph) != 0;
}

struct Candidate {
  const char* pattern;
  const char* exactFamily;
  const char* name;  // as the failure message names it
};

}  // namespace

FontSet::FontSet() {
  ttf_ready_ = TTF_Init() == 0;
  if (!ttf_ready_) {
    missing_ = std::string("no font can be opened: ") + TTF_GetError();
    return;
  }

  // Tries each candidate in turn; the first one that opens and has the bomb
  // glyph wins. When none does, the labels of that face could not be drawn:
  // the names looked for are kept for the failure message.
  const auto choose = [this](FontFace face, std::initializer_list<Candidate> candidates,
                             auto open) {
    std::string tried;
    for (const Candidate& c : candidates) {
      tried += tried.empty() ? "" : ", ";
      tried += c.name;
      const std::optional<FontFile> file = Match(c.pattern, c.exactFamily);
      if (!file) continue;
      TTF_Font* font = open(*file);
      if (HasBombGlyph(font)) {
        fonts_[Index(face)] = font;
        files_[Index(face)] = file->path;
        return;
      }
      if (font) TTF_CloseFont(font);
    }
    if (!missing_.empty()) return;  // one face is enough to say what is wrong
    missing_ = "no font for the labels: looked for " + tried + " (with the bomb glyph, U+00A4)";
  };
  const std::initializer_list<Candidate> monospace = {
      {"Terminus:style=Medium", "Terminus", "Terminus"},
      {"monospace", nullptr, "any monospace font"},
      {"sans-serif", nullptr, "any sans-serif font"}};
  choose(FontFace::Fixedsys, monospace, [](const FontFile& f) { return OpenCell(f, 10, 20); });
  choose(FontFace::WindowDefault, monospace, [](const FontFile& f) { return OpenCell(f, 8, 15); });
  choose(FontFace::ArialBold,
         {{"Liberation Sans:bold", "Liberation Sans", "Liberation Sans Bold"},
          {"Arial:bold", "Arial", "Arial Bold"},
          {"sans-serif:bold", nullptr, "any bold sans-serif font"}},
         [](const FontFile& f) { return OpenPixels(f, 27); });
}

FontSet::~FontSet() {
  for (TTF_Font* font : fonts_) {
    if (font) TTF_CloseFont(font);
  }
  if (ttf_ready_) TTF_Quit();
  // The files are open; fontconfig's configuration and caches can go.
  FcFini();
}

int FontSet::LineHeight(FontFace face) const {
  TTF_Font* font = For(face);
  return font ? TTF_FontHeight(font) : 0;
}

}  // namespace orvo::sdl
