// The tests' own file access for the game: the standard library's listing
// and reading, the same code on Linux and under Wine, so that tests of the
// modules above the platforms can use real folders. (The platforms' own
// file access is tested in their folders.)
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "gfx/file_reader.h"

namespace orvo_test {

class DiskFiles : public orvo::gfx::FileReader {
 public:
  static std::filesystem::path Path(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
  }

  std::optional<std::vector<orvo::gfx::FolderEntry>> ListFolder(
      const std::string& folder) const override {
    using Kind = orvo::gfx::FolderEntry::Kind;
    std::error_code ec;
    std::filesystem::directory_iterator it(Path(folder.empty() ? "." : folder), ec);
    if (ec) return std::nullopt;
    std::vector<orvo::gfx::FolderEntry> entries;
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
      const std::u8string name = it->path().filename().u8string();
      std::error_code type_ec;
      const Kind kind = it->is_regular_file(type_ec) ? Kind::kFile
                        : it->is_directory(type_ec)  ? Kind::kFolder
                                                     : Kind::kOther;
      entries.push_back({std::string(name.begin(), name.end()), kind});
    }
    if (ec) return std::nullopt;
    return entries;
  }

  orvo::gfx::FileRead ReadFile(const std::string& path, std::int64_t limit,
                               std::vector<std::uint8_t>& bytes) const override {
    using Status = orvo::gfx::FileRead::Status;
    bytes.clear();
    std::ifstream file(Path(path), std::ios::binary);
    if (!file.is_open()) return {Status::kCannotOpen, {}};
    char block[1 << 16];
    for (;;) {
      file.read(block, sizeof block);
      const auto n = static_cast<std::size_t>(file.gcount());
      bytes.insert(bytes.end(), block, block + n);
      if (static_cast<std::int64_t>(bytes.size()) > limit) {
        bytes.clear();
        return {Status::kTooLarge, {}};
      }
      if (n < sizeof block) break;
    }
    if (file.bad()) return {Status::kReadError, {}};
    return {};
  }
};

}  // namespace orvo_test
