#include "gfx/utf8_path.h"

namespace orvo::gfx {

namespace fs = std::filesystem;

fs::path PathFromUtf8(const std::string& utf8) {
  // A char8_t string is taken as UTF-8 everywhere; a char string would be
  // taken in the system's narrow encoding.
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::ifstream OpenForReading(const std::string& utf8) {
  // The stream opens the path in the file system's own encoding (the UTF-16
  // name on Windows), so no system's call is needed here.
  return std::ifstream(PathFromUtf8(utf8), std::ios::binary);
}

}  // namespace orvo::gfx
