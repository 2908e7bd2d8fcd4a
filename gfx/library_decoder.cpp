#include "gfx/library_codecs.h"
#include "gfx/picture_header.h"

namespace orvo::gfx {

std::optional<Surface> LibraryPictureDecoder::Decode(std::span<const std::uint8_t> bytes,
                                                     std::string& reason) const {
  // The header is checked first, so that a crafted size cannot make a
  // decoder allocate and cut-off data is refused whatever a decoder would
  // make of it.
  const std::optional<PictureHeader> header = CheckPictureHeader(bytes, reason);
  if (!header) return std::nullopt;
  return header->format == PictureFormat::kGif ? DecodeGif(bytes, reason)
                                               : DecodeJpeg(bytes, reason);
}

const PictureDecoder& LibraryDecoder() {
  static const LibraryPictureDecoder kDecoder;
  return kDecoder;
}

}  // namespace orvo::gfx
