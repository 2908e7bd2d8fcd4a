// orvo-make-glyphs OUT_FILE: renders the label fonts' glyphs with the
// desktop's FontSet and writes them to one atlas file for the web page and
// the Windows program, which have no FreeType (scripts/make-glyphs.sh
// renders the committed assets/label_glyphs.atlas). The format is in
// README.md beside this file; the same fonts give the same bytes.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "app/glyph_atlas.h"
#include "platform/sdl/fonts.h"
#include "platform/sdl/label_text.h"

namespace {

using orvo::app::FontFace;

constexpr char kMagic[8] = {'O', 'R', 'V', 'O', 'G', 'L', 'Y', 'F'};
constexpr std::uint32_t kVersion = 2;
constexpr FontFace kFaces[] = {FontFace::Fixedsys, FontFace::WindowDefault, FontFace::ArialBold};
constexpr const char* kFaceNames[] = {"Fixedsys", "WindowDefault", "ArialBold"};
constexpr std::uint32_t kBombGlyph = 0xA4;  // "¤"

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

// The characters of the atlas: printable ASCII, then the bomb glyph.
std::vector<std::uint32_t> CharacterSet() {
  std::vector<std::uint32_t> set;
  for (std::uint32_t c = 32; c <= 126; ++c) set.push_back(c);
  set.push_back(kBombGlyph);
  return set;
}

std::string Utf8(std::uint32_t c) {
  std::string s;
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else {  // the set stops below U+0800
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
  return s;
}

// Appends one glyph: its code point, size and the coverage of every pixel
// as the window renders its text, rows top to bottom.
bool PutGlyph(std::vector<std::uint8_t>& out, const orvo::sdl::SdlLabelText& text, FontFace face,
              std::uint32_t c, std::string& error) {
  const orvo::gfx::AlphaMask mask = text.Render(face, Utf8(c));
  if (mask.Empty() || mask.Width > 0xFFFF || mask.Height > 0xFFFF) {
    error = "unexpected rendering of U+" + std::to_string(c) + " (" + std::to_string(mask.Width) +
            " x " + std::to_string(mask.Height) + ")";
    return false;
  }
  PutU32(out, c);
  PutU16(out, static_cast<std::uint32_t>(mask.Width));
  PutU16(out, static_cast<std::uint32_t>(mask.Height));
  const std::vector<std::uint8_t> packed = orvo::app::GlyphAtlas::PackCoverage(mask.Alpha);
  out.insert(out.end(), packed.begin(), packed.end());
  return true;
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  file.close();
  return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: orvo-make-glyphs OUT_FILE\n";
    return 1;
  }
  const std::string outPath = argv[1];
  // FontSet initialises SDL_ttf itself; rendering needs no video driver.
  orvo::sdl::FontSet fonts;
  if (!fonts.Missing().empty()) {
    std::cerr << "orvo-make-glyphs: " << fonts.Missing() << "\n";
    return 1;
  }

  orvo::sdl::SdlLabelText text;
  text.SetFonts(&fonts);
  const std::vector<std::uint32_t> set = CharacterSet();
  std::vector<std::uint8_t> out(std::begin(kMagic), std::end(kMagic));
  PutU32(out, kVersion);
  PutU32(out, static_cast<std::uint32_t>(std::size(kFaces)));
  for (std::size_t i = 0; i < std::size(kFaces); ++i) {
    const int lineHeight = fonts.LineHeight(kFaces[i]);
    if (lineHeight <= 0) {
      std::cerr << "orvo-make-glyphs: no font for " << kFaceNames[i] << "\n";
      return 1;
    }
    PutU32(out, static_cast<std::uint32_t>(lineHeight));
    PutU32(out, static_cast<std::uint32_t>(set.size()));
    for (std::uint32_t c : set) {
      std::string error;
      if (!PutGlyph(out, text, kFaces[i], c, error)) {
        std::cerr << "orvo-make-glyphs: " << kFaceNames[i] << " (" << fonts.FileOf(kFaces[i])
                  << "): " << error << "\n";
        return 1;
      }
    }
  }
  if (!WriteFile(outPath, out)) {
    std::cerr << "orvo-make-glyphs: cannot write " << outPath << "\n";
    return 1;
  }
  return 0;
}
