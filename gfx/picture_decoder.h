// Picture decoding behind a small seam: a decoder turns a file's bytes into
// pixels, or says why it cannot. The bitmap cache reads the file through the
// platform and hands the bytes to the decoder: the game's own on every
// platform (library_codecs.h); tests may bind another.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "gfx/file_reader.h"
#include "gfx/surface.h"

namespace orvo::gfx {

// Limits that every decoder checks on the sizes a file declares, before any
// pixel buffer exists. The largest picture the game needs is 580 x 388;
// these leave generous room for other art while a picture and its mask stay
// at 16 MiB each.
inline constexpr std::int64_t kMaxPictureSide = 4096;
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{2048} * 2048;
// Larger files are refused before they are read.
inline constexpr std::int64_t kMaxPictureFileBytes = std::int64_t{8} << 20;

// True when a picture of width x height pixels is within the limits;
// otherwise false with `reason` saying why.
bool PictureSizeAllowed(std::int64_t width, std::int64_t height, std::string& reason);

class PictureDecoder {
 public:
  virtual ~PictureDecoder() = default;
  // The picture's pixels as 24-bit colours, or nullopt with `reason` (the
  // decoder's explanation, without the file's name). Whatever the bytes, it
  // never reads outside them and allocates nothing beyond the limits above.
  virtual std::optional<Surface> Decode(std::span<const std::uint8_t> bytes,
                                        std::string& reason) const = 0;
};

// Reads the file at `path` through `files` and decodes it: the picture, or
// nullopt with `error` naming the file and the reason.
std::optional<Surface> DecodePictureFile(const FileReader& files, const std::string& path,
                                         const PictureDecoder& decoder, std::string& error);

}  // namespace orvo::gfx
