// GIF and JPEG decoding with the reference libraries, giflib and
// libjpeg-turbo, which are fuzzed continuously upstream.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "gfx/picture_decoder.h"
#include "gfx/surface.h"

namespace orvo::gfx {

// The first image of a GIF on its screen, every colour exact. Refuses
// sizes beyond the picture limits before allocating for them.
std::optional<Surface> DecodeGif(std::span<const std::uint8_t> bytes, std::string& reason);

// A baseline, progressive or arithmetic-coded JPEG (greyscale, YCbCr, RGB,
// CMYK). Refuses sizes beyond the picture limits before allocating for
// them, and refuses damaged data instead of showing a guess.
std::optional<Surface> DecodeJpeg(std::span<const std::uint8_t> bytes, std::string& reason);

// The game's decoder on every platform: tells GIF from JPEG by the file's
// first bytes, checks the sizes the header declares (every GIF image's
// extent included) and that the data is all there, then decodes with the
// library. One decoder everywhere gives the same pixels everywhere.
class LibraryPictureDecoder : public PictureDecoder {
 public:
  std::optional<Surface> Decode(std::span<const std::uint8_t> bytes,
                                std::string& reason) const override;
};

// The one instance the game uses.
const PictureDecoder& LibraryDecoder();

}  // namespace orvo::gfx
