// libFuzzer: any bytes through the Linux picture decoder, as the game
// decodes GameBack.jpg, Blocks.gif and Grid.gif. A picture must come back
// within the limits, or be refused with a reason.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "gfx/library_codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const orvo::gfx::LibraryPictureDecoder decoder;
  std::string reason;
  const auto picture = decoder.Decode(std::span(data, size), reason);
  if (!picture) {
    if (reason.empty()) std::abort();  // a refusal must say why
    return 0;
  }
  std::string why;
  if (!orvo::gfx::PictureSizeAllowed(picture->Width(), picture->Height(), why)) std::abort();
  if (picture->Pixels().size() !=
      static_cast<std::size_t>(picture->Width()) * static_cast<std::size_t>(picture->Height())) {
    std::abort();
  }
  // Every pixel is a 24-bit colour.
  for (const orvo::gfx::Color c : picture->Pixels()) {
    if (c > orvo::gfx::kWhite) std::abort();
  }
  return 0;
}
