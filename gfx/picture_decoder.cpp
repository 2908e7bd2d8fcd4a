#include "gfx/picture_decoder.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

#include "gfx/picture_header.h"

namespace orvo::gfx {

namespace {

// Larger files are refused before they are read: no picture of the game
// comes near this.
constexpr std::streamoff kMaxFileBytes = 64 * 1024 * 1024;

struct SurfaceFree {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SdlSurface = std::unique_ptr<SDL_Surface, SurfaceFree>;

bool ReadFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) {
    error = path + ": cannot open: " + std::strerror(errno);
    return false;
  }
  const std::streamoff size = in.tellg();
  if (size < 0 || size > kMaxFileBytes) {
    error = path + ": file too large to be a picture";
    return false;
  }
  bytes.resize(static_cast<std::size_t>(size));
  in.seekg(0);
  if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) {
    error = path + ": read error";
    return false;
  }
  return true;
}

const char* SdlType(PictureFormat format) {
  switch (format) {
    case PictureFormat::kJpeg:
      return "JPG";
    case PictureFormat::kGif:
      return "GIF";
    case PictureFormat::kPng:
      break;
  }
  return "PNG";
}

bool SizeAllowed(std::int64_t w, std::int64_t h) {
  return w > 0 && h > 0 && w <= kMaxPictureSide && h <= kMaxPictureSide;
}

// Checks the header before the decoder runs, so that a crafted size cannot
// make it allocate gigabytes and cut-off data is refused whatever the
// decoder would make of it.
bool CheckHeader(const std::string& path, std::span<const std::uint8_t> bytes,
                 PictureFormat& format, std::string& error) {
  const std::optional<PictureHeader> header = ReadPictureHeader(bytes);
  if (!header) {
    error = path + ": not a JPEG, GIF or PNG picture";
    return false;
  }
  if (header->width == 0 || header->height == 0) {
    error = path + ": no picture size in the header";
    return false;
  }
  if (!SizeAllowed(header->width, header->height)) {
    error = path + ": picture size " + std::to_string(header->width) + " x " +
            std::to_string(header->height) + " is too large";
    return false;
  }
  if (!header->complete) {
    error = path + ": picture data is cut off";
    return false;
  }
  format = header->format;
  return true;
}

}  // namespace

std::optional<Surface> DecodePicture(const std::string& path, std::string& error) {
  std::vector<std::uint8_t> bytes;
  if (!ReadFile(path, bytes, error)) return std::nullopt;
  PictureFormat format{};
  if (!CheckHeader(path, bytes, format, error)) return std::nullopt;

  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (rw == nullptr) {
    error = path + ": " + SDL_GetError();
    return std::nullopt;
  }
  SdlSurface loaded(IMG_LoadTyped_RW(rw, 1, SdlType(format)));
  if (!loaded) {
    error = path + ": " + IMG_GetError();
    return std::nullopt;
  }
  if (!SizeAllowed(loaded->w, loaded->h)) {
    error = path + ": decoded picture has an unusable size";
    return std::nullopt;
  }
  // XBGR8888 keeps red in the low byte of each 32-bit pixel, as Surface does.
  SdlSurface pixels(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_XBGR8888, 0));
  if (!pixels) {
    error = path + ": " + SDL_GetError();
    return std::nullopt;
  }
  if (SDL_LockSurface(pixels.get()) != 0) {
    error = path + ": " + SDL_GetError();
    return std::nullopt;
  }
  Surface out(pixels->w, pixels->h);
  const auto* base = static_cast<const std::uint8_t*>(pixels->pixels);
  for (int y = 0; y < pixels->h; ++y) {
    const auto* row = base + static_cast<std::size_t>(y) * static_cast<std::size_t>(pixels->pitch);
    Color* dst = out.Row(y);
    std::memcpy(dst, row, static_cast<std::size_t>(pixels->w) * sizeof(Color));
    for (int x = 0; x < pixels->w; ++x) dst[x] &= kWhite;
  }
  SDL_UnlockSurface(pixels.get());
  return out;
}

}  // namespace orvo::gfx
