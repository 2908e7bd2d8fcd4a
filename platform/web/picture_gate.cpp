// The game's checks of a picture file, as a WebAssembly module of their own:
// the header reader and the limits (gfx::CheckPictureHeader, the file size
// limit), a few kilobytes that the page loads at once. With it the page can
// hand the pictures to the browser's decoder while the program itself still
// downloads and compiles, and still no picture reaches the decoder before
// the game's checks have passed it. The program checks every picture again
// before it takes the decoded pixels.
#include <emscripten.h>

#include <cstdint>
#include <span>
#include <string>

#include "gfx/picture_decoder.h"
#include "gfx/picture_header.h"

// `size` bytes at `bytes`: the picture's width * 65536 + its height when the
// game would go on to decode it, else 0. (Sizes within the limits take at
// most 13 bits each.)
extern "C" EMSCRIPTEN_KEEPALIVE std::int32_t orvo_gate_check(const std::uint8_t* bytes,
                                                             std::int32_t size) {
  if (bytes == nullptr || size <= 0 || size > orvo::gfx::kMaxPictureFileBytes) return 0;
  std::string reason;
  const std::optional<orvo::gfx::PictureHeader> header = orvo::gfx::CheckPictureHeader(
      std::span<const std::uint8_t>(bytes, static_cast<std::size_t>(size)), reason);
  if (!header) return 0;
  return static_cast<std::int32_t>((header->width << 16) | header->height);
}
