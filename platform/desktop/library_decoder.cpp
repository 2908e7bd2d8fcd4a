#include "gfx/picture_header.h"
#include "platform/desktop/library_codecs.h"

namespace orvo::desktop {

using gfx::PictureFormat;
using gfx::PictureHeader;
using gfx::PictureSizeAllowed;
using gfx::ReadPictureHeader;
using gfx::Surface;

std::optional<Surface> LibraryPictureDecoder::Decode(std::span<const std::uint8_t> bytes,
                                                     std::string& reason) const {
  // The header is read first, so that a crafted size cannot make a decoder
  // allocate and cut-off data is refused whatever a decoder would make of it.
  const std::optional<PictureHeader> header = ReadPictureHeader(bytes);
  if (!header) {
    reason = "not a JPEG or GIF picture";
    return std::nullopt;
  }
  if (header->width == 0 || header->height == 0) {
    reason = "no picture size in the header";
    return std::nullopt;
  }
  if (!PictureSizeAllowed(header->width, header->height, reason)) return std::nullopt;
  if (!header->complete) {
    reason = "picture data is cut off";
    return std::nullopt;
  }
  return header->format == PictureFormat::kGif ? DecodeGif(bytes, reason)
                                               : DecodeJpeg(bytes, reason);
}

}  // namespace orvo::desktop
