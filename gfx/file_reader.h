// The file access the game needs from the system it runs on: listing a
// folder and reading a file, no more. Everything above it (finding a file
// whatever its letter case, telling ordinary files from the rest, the limit
// on a picture file's size, decoding) is the game's own, the same on every
// platform. Paths are UTF-8 text, as the platform gave them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvo::gfx {

struct FolderEntry {
  enum class Kind {
    kFile,        // an ordinary file
    kHiddenFile,  // an ordinary file the system marks hidden (a dot-name is
                  // hidden by name, whatever the kind)
    kFolder,
    kOther,  // a device, a socket, a link to nothing...
  };
  std::string name;  // no separator; never "." or ".."
  Kind kind = Kind::kOther;
};

// How reading a file went; `cause` is the system's own words, when it has
// any (empty otherwise).
struct FileRead {
  enum class Status { kRead, kCannotOpen, kTooLarge, kReadError };
  Status status = Status::kRead;
  std::string cause;
};

class FileReader {
 public:
  virtual ~FileReader() = default;
  // The entries of `folder` (with or without its closing separator), in no
  // particular order; nullopt when it cannot be listed: it does not exist,
  // is no folder or may not be read.
  virtual std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder) const = 0;
  // The whole file at `path` into `bytes`. A file of more than `limit` bytes
  // is kTooLarge, found out without reading much past the limit, whatever
  // size the file system claims.
  virtual FileRead ReadFile(const std::string& path, std::int64_t limit,
                            std::vector<std::uint8_t>& bytes) const = 0;
};

}  // namespace orvo::gfx
