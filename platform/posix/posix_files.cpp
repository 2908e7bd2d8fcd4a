#include "platform/posix/posix_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orvo::posix {

namespace {

using Kind = gfx::FolderEntry::Kind;

class Folder {
 public:
  explicit Folder(const std::string& path) : dir_(opendir(path.c_str())) {}
  ~Folder() {
    if (dir_ != nullptr) closedir(dir_);
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  DIR* get() const { return dir_; }

 private:
  DIR* dir_;
};

class OpenFile {
 public:
  explicit OpenFile(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
  ~OpenFile() {
    if (fd_ >= 0) close(fd_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

Kind KindOf(int folder, const char* name) {
  struct stat st {};
  if (fstatat(folder, name, &st, 0) != 0) return Kind::kOther;
  if (S_ISREG(st.st_mode)) return Kind::kFile;
  if (S_ISDIR(st.st_mode)) return Kind::kFolder;
  return Kind::kOther;
}

}  // namespace

std::optional<std::vector<gfx::FolderEntry>> ListFolder(const std::string& folder) {
  const Folder dir(folder.empty() ? std::string(".") : folder);
  if (dir.get() == nullptr) return std::nullopt;
  std::vector<gfx::FolderEntry> entries;
  for (;;) {
    errno = 0;
    const dirent* entry = readdir(dir.get());
    if (entry == nullptr) break;
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    entries.push_back({name, KindOf(dirfd(dir.get()), entry->d_name)});
  }
  // A listing cut short by an error is no listing.
  if (errno != 0) return std::nullopt;
  return entries;
}

gfx::FileRead ReadFile(const std::string& path, std::int64_t limit,
                       std::vector<std::uint8_t>& bytes) {
  using Status = gfx::FileRead::Status;
  bytes.clear();
  const OpenFile file(path);
  if (file.get() < 0) return {Status::kCannotOpen, std::strerror(errno)};
  const auto cap = static_cast<std::size_t>(std::max<std::int64_t>(limit, 0)) + 1;
  // Room for the size the file claims, within the limit, so that the buffer
  // does not grow by doubling; the reads below decide, whatever it claims.
  struct stat st {};
  if (fstat(file.get(), &st) == 0 && st.st_size > 0) {
    bytes.reserve(std::min(static_cast<std::size_t>(st.st_size), cap));
  }
  std::uint8_t block[1 << 16];
  for (;;) {
    const ssize_t n = read(file.get(), block, sizeof block);
    if (n < 0) {
      if (errno == EINTR) continue;
      return {Status::kReadError, std::strerror(errno)};
    }
    if (n == 0) return {};
    bytes.insert(bytes.end(), block, block + n);
    if (bytes.size() >= cap) {
      bytes.clear();
      return {Status::kTooLarge, {}};
    }
  }
}

}  // namespace orvo::posix
