#include "gfx/file_lookup.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "gfx/ascii_case.h"
#include "gfx/utf8_path.h"

namespace orvo::gfx {

namespace fs = std::filesystem;

namespace {

bool Exists(const fs::path& p) {
  std::error_code ec;
  return fs::exists(p, ec);
}

bool IsHidden(const std::string& name) {
  return !name.empty() && name.front() == '.';
}

// The entry of `folder` whose name equals `name` ignoring letter case. When
// several do, the first in byte order wins, so the choice never depends on
// the order in which the file system lists them.
std::optional<std::string> MatchInFolder(const fs::path& folder, const std::string& name) {
  const std::string wanted = ToLowerAscii(name);
  std::vector<std::string> matches;
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::string entry = Utf8FromPath(it->path().filename());
    if (ToLowerAscii(entry) == wanted) matches.push_back(std::move(entry));
  }
  if (matches.empty()) return std::nullopt;
  return *std::min_element(matches.begin(), matches.end());
}

// `path` with every component that does not exist as written replaced by an
// entry of its folder that matches it ignoring letter case.
std::optional<fs::path> Resolve(const std::string& path) {
  if (path.empty()) return std::nullopt;
  const fs::path written = PathFromUtf8(path);
  if (Exists(written)) return written;
  fs::path current = written.root_path();
  for (const fs::path& part : written.relative_path()) {
    const std::string name = Utf8FromPath(part);
    if (name.empty() || name == "." || name == "..") {
      current /= part;
      continue;
    }
    fs::path exact = current / part;
    if (Exists(exact)) {
      current = std::move(exact);
      continue;
    }
    std::optional<std::string> match = MatchInFolder(current, name);
    if (!match) return std::nullopt;
    current /= PathFromUtf8(*match);
  }
  return current;
}

}  // namespace

std::optional<std::string> FindOrdinaryFile(const std::string& path) {
  std::optional<fs::path> found = Resolve(path);
  if (!found) return std::nullopt;
  if (IsHidden(Utf8FromPath(found->filename()))) return std::nullopt;
  std::error_code ec;
  if (!fs::is_regular_file(*found, ec)) return std::nullopt;
  return Utf8FromPath(*found);
}

bool HoldsOrdinaryFile(const std::string& folder) {
  std::string trimmed = folder;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  std::optional<fs::path> found = Resolve(trimmed);
  if (!found) return false;
  std::error_code ec;
  if (!fs::is_directory(*found, ec)) return false;
  fs::directory_iterator it(*found, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    if (IsHidden(Utf8FromPath(it->path().filename()))) continue;
    std::error_code type_ec;
    if (it->is_regular_file(type_ec)) return true;
  }
  return false;
}

}  // namespace orvo::gfx
