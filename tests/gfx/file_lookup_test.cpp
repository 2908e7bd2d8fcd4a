#include "gfx/file_lookup.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvo::gfx {
namespace {

using Kind = FolderEntry::Kind;

// A case-sensitive file system in memory: each folder (its path as the
// lookup asks for it, with its separator) and its entries. Counts listings.
class MemoryFiles : public FileReader {
 public:
  // `folder` with its separator, "." and ".." taken out as a system would.
  static std::string Normal(const std::string& folder) {
    const char sep = folder.find('/') == std::string::npos ? '\\' : '/';
    std::vector<std::string> parts;
    std::string part;
    for (const char c : folder + sep) {
      if (c != sep) {
        part += c;
        continue;
      }
      if (part == ".." && parts.size() > 1) {
        parts.pop_back();
      } else if (part != "." && (!part.empty() || parts.empty())) {
        parts.push_back(part);
      }
      part.clear();
    }
    std::string normal;
    for (const std::string& p : parts) normal += p + sep;
    return normal;
  }

  std::map<std::string, std::vector<FolderEntry>> folders;
  mutable int listings = 0;

  std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder) const override {
    ++listings;
    const auto it = folders.find(Normal(folder));
    if (it == folders.end()) return std::nullopt;
    return it->second;
  }
  FileRead ReadFile(const std::string&, std::int64_t, std::vector<std::uint8_t>&) const override {
    return {FileRead::Status::kCannotOpen, {}};
  }
};

MemoryFiles Disk() {
  MemoryFiles files;
  files.folders["/"] = {{"orvo", Kind::kFolder}};
  files.folders["/orvo/"] = {{"Graphics", Kind::kFolder},    {"orvo", Kind::kFile},
                             {".hidden.gif", Kind::kFile},   {"folder.gif", Kind::kFolder},
                             {"pic.gif", Kind::kFile},       {"Pic.gif", Kind::kFile},
                             {"PIC.gif", Kind::kFile},       {"fifo.gif", Kind::kOther},
                             {"Only Hidden", Kind::kFolder}, {"Empty", Kind::kFolder}};
  files.folders["/orvo/Graphics/"] = {{"Blocks.gif", Kind::kFile},
                                      {"desktop.ini", Kind::kHiddenFile}};
  files.folders["/orvo/folder.gif/"] = {{"inside", Kind::kFile}};
  files.folders["/orvo/Only Hidden/"] = {
      {".dot", Kind::kFile}, {"Thumbs.db", Kind::kHiddenFile}, {"sub", Kind::kFolder}};
  files.folders["/orvo/Empty/"] = {};
  // A Windows path, as the Windows platform spells it.
  files.folders["C:\\"] = {{"Games", Kind::kFolder}};
  files.folders["C:\\Games\\"] = {{"Orvo", Kind::kFolder}};
  files.folders["C:\\Games\\Orvo\\"] = {{"Graphics", Kind::kFolder}};
  files.folders["C:\\Games\\Orvo\\Graphics\\"] = {{"Grid.gif", Kind::kFile}};
  return files;
}

TEST(FindOrdinaryFile, MatchesLetterCaseFolderByFolderAndOnlyOrdinaryVisibleFiles) {
  const MemoryFiles files = Disk();
  const struct {
    const char* path;
    std::optional<std::string> found;
  } cases[] = {
      {"/orvo/Graphics/Blocks.gif", "/orvo/Graphics/Blocks.gif"},
      {"/ORVO/GRAPHICS/BLOCKS.GIF", "/orvo/Graphics/Blocks.gif"},
      {"/orvo/graphics/./blocks.gif", "/orvo/Graphics/./Blocks.gif"},
      {"/orvo/Graphics/../Graphics/Blocks.gif", "/orvo/Graphics/../Graphics/Blocks.gif"},
      {"C:\\GAMES\\orvo\\graphics\\grid.GIF", "C:\\Games\\Orvo\\Graphics\\Grid.gif"},
      // several matches: the exact one, else the first in byte order
      {"/orvo/pic.gif", "/orvo/pic.gif"},
      {"/orvo/Pic.gif", "/orvo/Pic.gif"},
      {"/orvo/pIC.GIF", "/orvo/PIC.gif"},  // 'I' < 'i'
      // a file the system marks hidden is still found when asked for
      {"/orvo/graphics/DESKTOP.INI", "/orvo/Graphics/desktop.ini"},
      {"/orvo/Graphics/Blocks.jpg", std::nullopt},
      {"/orvo/Other/Blocks.gif", std::nullopt},
      {"/orvo/.hidden.gif", std::nullopt},
      {"/orvo/.HIDDEN.GIF", std::nullopt},
      {"/orvo/folder.gif", std::nullopt},
      {"/orvo/FOLDER.GIF/inside", "/orvo/folder.gif/inside"},
      {"/orvo/orvo/inside", std::nullopt},  // a file is no folder
      {"/orvo/fifo.gif", std::nullopt},
      {"/orvo/Graphics/", std::nullopt},
      {"/", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(FindOrdinaryFile(files, c.path), c.found) << c.path;
}

TEST(HoldsOrdinaryFile, OnlyAVisibleOrdinaryFileCounts) {
  const MemoryFiles files = Disk();
  const struct {
    const char* folder;
    bool holds;
  } cases[] = {
      {"/orvo/Graphics/", true},
      {"/orvo/Graphics", true},
      {"/ORVO/graphics//", true},
      {"C:\\games\\ORVO\\Graphics\\", true},
      {"/orvo/", true},
      {"/", false},  // sub-folders only
      {"/orvo/Empty/", false},
      {"/orvo/Only Hidden/", false},
      {"/orvo/Missing/", false},
      {"/orvo/orvo/", false},  // a file is no folder
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(HoldsOrdinaryFile(files, c.folder), c.holds) << c.folder;
}

TEST(FindOrdinaryFile, ListsEachFolderOfAnExactPathOnce) {
  const MemoryFiles files = Disk();
  ASSERT_TRUE(FindOrdinaryFile(files, "/orvo/Graphics/Blocks.gif"));
  EXPECT_EQ(files.listings, 1);
}

}  // namespace
}  // namespace orvo::gfx
