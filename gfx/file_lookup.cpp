#include "gfx/file_lookup.h"

#include <vector>

#include "gfx/ascii_case.h"

namespace orvo::gfx {

namespace {

using Kind = FolderEntry::Kind;
using Entries = std::vector<FolderEntry>;

char SeparatorIn(const std::string& path) {
  return path.find('/') == std::string::npos && path.find('\\') != std::string::npos ? '\\' : '/';
}

bool HiddenByName(const std::string& name) {
  return !name.empty() && name.front() == '.';
}

// A path cut at its last separator: the folder, separator included (empty
// for a bare name), and the last name. Nothing for a root or an empty path.
struct LastPart {
  std::string folder;
  std::string name;
};

std::optional<LastPart> CutLast(std::string path, char separator) {
  while (path.size() > 1 && path.back() == separator) path.pop_back();
  LastPart part;
  const std::size_t at = path.rfind(separator);
  if (at == std::string::npos) {
    part.name = path;
  } else {
    part.folder = path.substr(0, at + 1);
    part.name = path.substr(at + 1);
  }
  if (part.name.empty()) return std::nullopt;
  return part;
}

std::optional<Entries> List(const FileReader& files, const std::string& folder) {
  // A bare name is in the working folder.
  return files.ListFolder(folder.empty() ? std::string(".") : folder);
}

// The entry called `name`: as written when there is one, else the first in
// byte order whose name matches ignoring letter case, so that the choice
// never depends on the order in which the system lists them.
const FolderEntry* Match(const Entries& entries, const std::string& name) {
  const std::string wanted = ToLowerAscii(name);
  const FolderEntry* found = nullptr;
  for (const FolderEntry& entry : entries) {
    if (entry.name == name) return &entry;
    if (ToLowerAscii(entry.name) == wanted && (found == nullptr || entry.name < found->name)) {
      found = &entry;
    }
  }
  return found;
}

// `folder` as the system spells it: as written when it can be listed, else
// with its last part matched in its parent, found the same way. Its
// listing comes along, so that nobody lists it twice.
struct Found {
  std::string folder;
  Entries entries;
};

std::optional<Found> FindFolder(const FileReader& files, const std::string& folder,
                                char separator) {
  if (std::optional<Entries> entries = List(files, folder)) {
    return Found{folder, std::move(*entries)};
  }
  const std::optional<LastPart> part = CutLast(folder, separator);
  if (!part) return std::nullopt;
  // An empty folder is the working one, which List names ".".
  const std::optional<Found> parent = FindFolder(files, part->folder, separator);
  if (!parent) return std::nullopt;
  std::string path;
  if (part->name == "." || part->name == "..") {
    path = parent->folder + part->name + separator;
  } else {
    const FolderEntry* match = Match(parent->entries, part->name);
    if (match == nullptr || match->kind != Kind::kFolder) return std::nullopt;
    path = parent->folder + match->name + separator;
  }
  std::optional<Entries> entries = List(files, path);
  if (!entries) return std::nullopt;
  return Found{std::move(path), std::move(*entries)};
}

}  // namespace

std::optional<std::string> FindOrdinaryFile(const FileReader& files, const std::string& path) {
  const char separator = SeparatorIn(path);
  // A path that ends in a separator names a folder.
  if (path.empty() || path.back() == separator) return std::nullopt;
  const std::optional<LastPart> part = CutLast(path, separator);
  if (!part || part->name == "." || part->name == "..") return std::nullopt;
  const std::optional<Found> folder = FindFolder(files, part->folder, separator);
  if (!folder) return std::nullopt;
  const FolderEntry* match = Match(folder->entries, part->name);
  if (match == nullptr || HiddenByName(match->name)) return std::nullopt;
  // A file the system marks hidden is still the file asked for; only a
  // folder's check for pictures passes over it.
  if (match->kind != Kind::kFile && match->kind != Kind::kHiddenFile) return std::nullopt;
  return folder->folder + match->name;
}

bool HoldsOrdinaryFile(const FileReader& files, const std::string& folder) {
  if (folder.empty()) return false;
  const std::optional<Found> found = FindFolder(files, folder, SeparatorIn(folder));
  if (!found) return false;
  for (const FolderEntry& entry : found->entries) {
    if (entry.kind == Kind::kFile && !HiddenByName(entry.name)) return true;
  }
  return false;
}

}  // namespace orvo::gfx
