#include "gfx/picture_decoder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "gfx/utf8_path.h"

namespace orvo::gfx {

namespace {

// The whole file, read in blocks so that a size the file system reports
// wrongly cannot get past the limit.
bool ReadFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
  errno = 0;
  std::ifstream file = OpenForReading(path);
  if (!file.is_open()) {
    // errno names the cause where the C library set it; "Success" is no
    // cause to report.
    error = path + ": cannot open";
    if (errno != 0) error += std::string(": ") + std::strerror(errno);
    return false;
  }
  // Room for the size the file claims, within the limit, so that the buffer
  // does not grow by doubling.
  std::error_code ec;
  const std::uintmax_t claimed = std::filesystem::file_size(PathFromUtf8(path), ec);
  if (!ec) {
    bytes.reserve(static_cast<std::size_t>(
        std::min<std::uintmax_t>(claimed, static_cast<std::uintmax_t>(kMaxPictureFileBytes) + 1)));
  }
  char block[1 << 16];
  for (;;) {
    file.read(block, sizeof block);
    const auto n = static_cast<std::size_t>(file.gcount());
    bytes.insert(bytes.end(), block, block + n);
    if (static_cast<std::int64_t>(bytes.size()) > kMaxPictureFileBytes) {
      error = path + ": file too large to be a picture (more than " +
              std::to_string(kMaxPictureFileBytes >> 20) + " MiB)";
      return false;
    }
    if (n < sizeof block) break;
  }
  // A short read is the end of the file unless the stream failed for good.
  if (file.bad()) {
    error = path + ": read error";
    return false;
  }
  return true;
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

std::optional<Surface> DecodePictureFile(const std::string& path, const PictureDecoder& decoder,
                                         std::string& error) {
  std::vector<std::uint8_t> bytes;
  if (!ReadFile(path, bytes, error)) return std::nullopt;
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
