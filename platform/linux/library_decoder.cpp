#include "gfx/picture_header.h"
#include "platform/linux/library_codecs.h"

namespace orvo::linux_shared {

using gfx::PictureFormat;
using gfx::PictureHeader;
using gfx::Surface;

std::optional<Surface> LibraryPictureDecoder::Decode(std::span<const std::uint8_t> bytes,
                                                     std::string& reason) const {
  // The header is checked first, so that a crafted size cannot make a
  // decoder allocate and cut-off data is refused whatever a decoder would
  // make of it.
  const std::optional<PictureHeader> header = gfx::CheckPictureHeader(bytes, reason);
  if (!header) return std::nullopt;
  return header->format == PictureFormat::kGif ? DecodeGif(bytes, reason)
                                               : DecodeJpeg(bytes, reason);
}

}  // namespace orvo::linux_shared
