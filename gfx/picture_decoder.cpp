#include "gfx/picture_decoder.h"

#include <vector>

namespace orvo::gfx {

namespace {

// The whole file within the size limit, or false with `error` saying why.
bool ReadPictureFile(const FileReader& files, const std::string& path,
                     std::vector<std::uint8_t>& bytes, std::string& error) {
  const FileRead read = files.ReadFile(path, kMaxPictureFileBytes, bytes);
  switch (read.status) {
    case FileRead::Status::kRead:
      return true;
    case FileRead::Status::kCannotOpen:
      error = path + ": cannot open";
      if (!read.cause.empty()) error += ": " + read.cause;
      return false;
    case FileRead::Status::kTooLarge:
      error = path + ": file too large to be a picture (more than " +
              std::to_string(kMaxPictureFileBytes >> 20) + " MiB)";
      return false;
    case FileRead::Status::kReadError:
      break;
  }
  error = path + ": read error";
  return false;
}

}  // namespace

bool PictureSizeAllowed(std::int64_t width, std::int64_t height, std::string& reason) {
  const std::string size = std::to_string(width) + " x " + std::to_string(height);
  if (width <= 0 || height <= 0) {
    reason = "picture size " + size + " has no pixels";
    return false;
  }
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels) {
    reason = "picture size " + size + " is too large (at most " + std::to_string(kMaxPictureSide) +
             " pixels a side and " + std::to_string(kMaxPicturePixels) + " pixels in all)";
    return false;
  }
  return true;
}

std::optional<Surface> DecodePictureFile(const FileReader& files, const std::string& path,
                                         const PictureDecoder& decoder, std::string& error) {
  std::vector<std::uint8_t> bytes;
  if (!ReadPictureFile(files, path, bytes, error)) return std::nullopt;
  std::string reason;
  std::optional<Surface> picture = decoder.Decode(bytes, reason);
  // A decoder that returns an empty or oversized picture is refused too.
  if (picture && !PictureSizeAllowed(picture->Width(), picture->Height(), reason)) {
    picture.reset();
  }
  if (!picture) {
    error = path + ": " + (reason.empty() ? std::string("cannot decode the picture") : reason);
  }
  return picture;
}

}  // namespace orvo::gfx
