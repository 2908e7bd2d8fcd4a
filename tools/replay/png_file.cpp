#include "tools/replay/png_file.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tools/replay/replay_error.h"

namespace orvo::replay {
namespace {

// The pixels as rows of red, green and blue bytes.
std::vector<std::uint8_t> RgbBytes(const gfx::Surface& surface) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(static_cast<std::size_t>(surface.Width()) *
                static_cast<std::size_t>(surface.Height()) * 3);
  for (gfx::Color c : surface.Pixels()) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFFu));
    bytes.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFFu));
    bytes.push_back(static_cast<std::uint8_t>((c >> 16) & 0xFFu));
  }
  return bytes;
}

[[noreturn]] void CannotWrite(const std::string& name, int error) {
  throw ReplayError("cannot write " + name + ": " + std::strerror(error != 0 ? error : EIO));
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const gfx::Surface& surface) {
  if (surface.Empty()) throw ReplayError("snapshot: the board surface is empty");
  const std::vector<std::uint8_t> rgb = RgbBytes(surface);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(surface.Width());
  image.height = static_cast<png_uint_32>(surface.Height());
  image.format = PNG_FORMAT_RGB;
  const auto stride = static_cast<png_int_32>(surface.Width() * 3);
  // libpng's simplified interface catches its own errors (it longjmps only
  // within its C code) and reports them through the return value and
  // image.message. The first call measures, the second writes.
  png_alloc_size_t size = 0;
  if (png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), stride, nullptr) == 0) {
    const std::string why = image.message;
    png_image_free(&image);
    throw ReplayError("snapshot: " + why);
  }
  std::vector<std::uint8_t> png(size);
  if (png_image_write_to_memory(&image, png.data(), &size, 0, rgb.data(), stride, nullptr) == 0) {
    const std::string why = image.message;
    png_image_free(&image);
    throw ReplayError("snapshot: " + why);
  }
  png.resize(size);
  return png;
}

void WritePngFile(const gfx::Surface& surface, const std::string& path, const std::string& name) {
  const std::vector<std::uint8_t> png = EncodePng(surface);
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) CannotWrite(name, errno);
  errno = 0;
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  int error = written ? 0 : errno;
  if (written && std::fflush(file) != 0) error = errno != 0 ? errno : EIO;
  // Closing can report a failure that the writes did not.
  errno = 0;
  if (std::fclose(file) != 0 && written && error == 0) error = errno != 0 ? errno : EIO;
  if (!written || error != 0) CannotWrite(name, error);
}

}  // namespace orvo::replay
