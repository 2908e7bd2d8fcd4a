// The Windows window's start-up check of a folder: it holds an ordinary
// file when FindFirstFileExW lists one that is no folder and not hidden or
// the system's (desktop.ini, Thumbs.db), whatever the script of its name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gfx/utf8_path.h"
#include "platform/win32/utf16.h"
#include "platform/win32/win32_platform.h"
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
    std::filesystem::create_directories(gfx::PathFromUtf8(folder));
    bool attributesHeld = true;
    for (const File& f : c.files) {
      const std::string path = folder + "\\" + f.name;
      if (f.attributes == 0) {
        std::filesystem::create_directories(gfx::PathFromUtf8(path));
        continue;
      }
      std::ofstream(gfx::PathFromUtf8(path)) << "x";
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
    EXPECT_EQ(platform.HoldsOrdinaryFile(folder + "\\"), c.holds) << c.folder;
  }
  EXPECT_FALSE(platform.HoldsOrdinaryFile(dir / "missing\\"));
  EXPECT_FALSE(platform.HoldsOrdinaryFile(""));
}

}  // namespace
}  // namespace orvo::win32
