// Windows' files for the game: a folder holds an ordinary file when
// FindFirstFileExW lists one that is no folder and not hidden or the
// system's (desktop.ini, Thumbs.db), whatever the script of its name; files
// are read by their UTF-16 names, within the picture limit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gfx/file_lookup.h"
#include "platform/win32/utf16.h"
#include "platform/win32/win32_platform.h"
#include "tests/gfx/disk_files.h"
#include "tests/gfx/test_files.h"

namespace orvo::win32 {
namespace {

TEST(Win32Folders, OnlyVisibleOrdinaryFilesCount) {
  Win32Platform platform;
  gfx::testing::TempDir dir;
  struct File {
    std::string name;
    DWORD attributes;  // 0: a folder
  };
  struct Case {
    std::string folder;
    std::vector<File> files;
    bool holds;
  } cases[] = {
      {"empty", {}, false},
      {"only a folder", {{"Graphics", 0}}, false},
      {"only hidden", {{"desktop.ini", FILE_ATTRIBUTE_HIDDEN}}, false},
      {"only the system's",
       {{"Thumbs.db", FILE_ATTRIBUTE_SYSTEM},
        {"x.db", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM}},
       false},
      {"a picture", {{"Blocks.gif", FILE_ATTRIBUTE_NORMAL}}, true},
      {"read-only, archived",
       {{"Grid.gif", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE}},
       true},
      {"hidden and one picture",
       {{"desktop.ini", FILE_ATTRIBUTE_HIDDEN}, {"Grid.gif", FILE_ATTRIBUTE_NORMAL}},
       true},
      {"Spiele \xCE\x9F\xCF\x81\xCE\xB2\xCE\xBF", {{"\xC3\xBC.gif", FILE_ATTRIBUTE_NORMAL}}, true},
  };
  for (const Case& c : cases) {
    const std::string folder = dir / c.folder;
    std::filesystem::create_directories(orvo_test::DiskFiles::Path(folder));
    bool attributesHeld = true;
    for (const File& f : c.files) {
      const std::string path = folder + "\\" + f.name;
      if (f.attributes == 0) {
        std::filesystem::create_directories(orvo_test::DiskFiles::Path(path));
        continue;
      }
      std::ofstream(orvo_test::DiskFiles::Path(path)) << "x";
      ASSERT_TRUE(SetFileAttributesW(Utf16(path).c_str(), f.attributes)) << path;
      // A file system that keeps no such attributes cannot show the case.
      const DWORD kept = GetFileAttributesW(Utf16(path).c_str());
      const DWORD wanted = f.attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
      if ((kept & wanted) != wanted) attributesHeld = false;
    }
    if (!attributesHeld) {
      ADD_FAILURE() << c.folder << ": the file system keeps no hidden or system attribute";
      continue;
    }
    EXPECT_EQ(gfx::HoldsOrdinaryFile(platform, folder + "\\"), c.holds) << c.folder;
  }
  EXPECT_FALSE(gfx::HoldsOrdinaryFile(platform, dir / "missing\\"));
  EXPECT_FALSE(gfx::HoldsOrdinaryFile(platform, ""));
}

TEST(Win32Files, ReadsByUtf16NamesWithinTheLimit) {
  Win32Platform platform;
  gfx::testing::TempDir dir;
  const std::string folder = dir / "Orvo \xCE\x9F\xCF\x81\xCE\xB2\xCE\xBF \xC3\xBC";
  std::filesystem::create_directories(orvo_test::DiskFiles::Path(folder + "\\Graphics"));
  const std::string file = folder + "\\Graphics\\Grid.gif";
  std::ofstream(orvo_test::DiskFiles::Path(file), std::ios::binary) << "GIF89a";
  std::vector<std::uint8_t> bytes;
  using Status = gfx::FileRead::Status;
  EXPECT_EQ(platform.ReadFile(file, 6, bytes).status, Status::kRead);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "GIF89a");
  EXPECT_EQ(platform.ReadFile(file, 5, bytes).status, Status::kTooLarge);
  const gfx::FileRead missing = platform.ReadFile(folder + "\\none.gif", 6, bytes);
  EXPECT_EQ(missing.status, Status::kCannotOpen);
  EXPECT_FALSE(missing.cause.empty());  // the system's words
  // Found whatever the letter case: the file under its real name (Windows
  // itself finds the folder as written).
  EXPECT_EQ(gfx::FindOrdinaryFile(platform, folder + "\\GRAPHICS\\grid.GIF"),
            folder + "\\GRAPHICS\\Grid.gif");
}

}  // namespace
}  // namespace orvo::win32
