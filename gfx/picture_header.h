// A small bounds-checked reader of JPEG and GIF headers. It tells the format,
// the size the decoder is going to allocate for and whether the picture's
// data is all there, before any decoder sees the bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace orvo::gfx {

enum class PictureFormat { kJpeg, kGif };

struct PictureHeader {
  PictureFormat format = PictureFormat::kJpeg;
  // The size from the header; 0 when the header holds none. For a GIF the
  // largest extent of the screen and of every image placed on it (offset
  // plus size), in each direction.
  std::int64_t width = 0;
  std::int64_t height = 0;
  // False when the data ends before the (first) image is complete.
  bool complete = false;
};

// nullopt when the bytes are not a JPEG or GIF file. Never reads outside
// `bytes`.
std::optional<PictureHeader> ReadPictureHeader(std::span<const std::uint8_t> bytes);

// The header of a picture that a decoder may go on with: a JPEG or GIF whose
// declared size is within the picture limits and whose data is all there.
// Otherwise nullopt with `reason` saying which check failed. Every decoder
// calls this first, so that a crafted size or cut-off data never reaches it.
std::optional<PictureHeader> CheckPictureHeader(std::span<const std::uint8_t> bytes,
                                                std::string& reason);

}  // namespace orvo::gfx
