// Listing folders and reading files with the POSIX calls, for the platforms
// whose C library has them: the Linux window, the replay runner and the web
// page (whose files emscripten keeps in memory).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gfx/file_reader.h"

namespace orvo::posix {

// The entries of `folder`; a link counts as what it leads to (kOther when it
// leads nowhere). POSIX has no hidden mark: dot-names are the game's rule.
std::optional<std::vector<gfx::FolderEntry>> ListFolder(const std::string& folder);

// gfx::FileReader::ReadFile with open and read.
gfx::FileRead ReadFile(const std::string& path, std::int64_t limit,
                       std::vector<std::uint8_t>& bytes);

// The two above as a gfx::FileReader, for those that need one object.
class PosixFiles : public gfx::FileReader {
 public:
  std::optional<std::vector<gfx::FolderEntry>> ListFolder(
      const std::string& folder) const override {
    return posix::ListFolder(folder);
  }
  gfx::FileRead ReadFile(const std::string& path, std::int64_t limit,
                         std::vector<std::uint8_t>& bytes) const override {
    return posix::ReadFile(path, limit, bytes);
  }
};

}  // namespace orvo::posix
