#include <SDL.h>
#include <SDL_image.h>

#include <cstdint>
#include <cstring>

#include "gfx/picture_decoder.h"

namespace orvo::gfx {

bool WritePng(const Surface& surface, const std::string& path, std::string& error) {
  if (surface.Empty()) {
    error = path + ": cannot write an empty picture";
    return false;
  }
  SDL_Surface* out = SDL_CreateRGBSurfaceWithFormat(0, surface.Width(), surface.Height(), 32,
                                                    SDL_PIXELFORMAT_XBGR8888);
  if (out == nullptr) {
    error = path + ": " + SDL_GetError();
    return false;
  }
  auto* base = static_cast<std::uint8_t*>(out->pixels);
  for (int y = 0; y < surface.Height(); ++y) {
    std::memcpy(base + static_cast<std::size_t>(y) * static_cast<std::size_t>(out->pitch),
                surface.Row(y), static_cast<std::size_t>(surface.Width()) * sizeof(Color));
  }
  const bool ok = IMG_SavePNG(out, path.c_str()) == 0;
  if (!ok) error = path + ": " + IMG_GetError();
  SDL_FreeSurface(out);
  return ok;
}

}  // namespace orvo::gfx
