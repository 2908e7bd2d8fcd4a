#include "gfx/file_lookup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "gfx/utf8_path.h"
#include "tests/gfx/test_files.h"

namespace orvo::gfx {
namespace {

using testing::TempDir;
using testing::WriteBytes;

class FileLookup : public ::testing::Test {
 protected:
  void Touch(const std::string& name) { WriteBytes(dir / name, {1, 2, 3}); }
  void MakeFolder(const std::string& name) { std::filesystem::create_directories(dir / name); }
  TempDir dir;
};

TEST_F(FileLookup, FindsFilesWhateverTheLetterCaseOfFolderAndName) {
  Touch("Graphics/Blocks.gif");
  const std::string real = dir / "Graphics/Blocks.gif";
  EXPECT_EQ(FindOrdinaryFile(real), real);
  // Where the file system itself ignores letter case (Windows), every
  // spelling exists as written and names the file; elsewhere the lookup
  // gives the file's real path.
  const bool caseBlind = std::filesystem::exists(dir / "GRAPHICS/BLOCKS.GIF");
  const auto expectFinds = [&](const std::string& written, const std::string& want) {
    const std::optional<std::string> found = FindOrdinaryFile(written);
    ASSERT_TRUE(found) << written;
    if (caseBlind) {
      EXPECT_TRUE(std::filesystem::equivalent(*found, want)) << *found;
    } else {
      EXPECT_EQ(*found, want);
    }
  };
  expectFinds(dir / "GRAPHICS/BLOCKS.GIF", real);
  expectFinds(dir / "graphics/blocks.gif", real);
  expectFinds(dir / "graphics/./Blocks.GIF", dir / "Graphics/./Blocks.gif");
  EXPECT_EQ(FindOrdinaryFile(dir / "Graphics/Blocks.jpg"), std::nullopt);
  EXPECT_EQ(FindOrdinaryFile(dir / "Other/Blocks.gif"), std::nullopt);
}

TEST_F(FileLookup, OnlyOrdinaryVisibleFilesCount) {
  Touch(".hidden.gif");
  MakeFolder("folder.gif");
  Touch("folder.gif/inside");
  EXPECT_EQ(FindOrdinaryFile(dir / ".hidden.gif"), std::nullopt);
  EXPECT_EQ(FindOrdinaryFile(dir / ".HIDDEN.GIF"), std::nullopt);
  EXPECT_EQ(FindOrdinaryFile(dir / "folder.gif"), std::nullopt);
  EXPECT_EQ(FindOrdinaryFile(dir / "FOLDER.GIF"), std::nullopt);
  EXPECT_EQ(FindOrdinaryFile(dir / "folder.gif/inside/x"), std::nullopt);
  EXPECT_EQ(FindOrdinaryFile(""), std::nullopt);
}

TEST_F(FileLookup, SeveralCaseMatchesPreferExactThenFirstInSortedOrder) {
  Touch("pic.gif");
  Touch("Pic.gif");
  Touch("PIC.gif");
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.str())) {
    ++entries;
  }
  if (entries < 3) GTEST_SKIP() << "this file system keeps no two names that differ in case only";
  EXPECT_EQ(FindOrdinaryFile(dir / "pic.gif"), dir / "pic.gif");
  EXPECT_EQ(FindOrdinaryFile(dir / "Pic.gif"), dir / "Pic.gif");
  EXPECT_EQ(FindOrdinaryFile(dir / "pIC.GIF"), dir / "PIC.gif");  // 'I' < 'i'
}

TEST_F(FileLookup, FolderHoldsAFileOnlyWhenAVisibleOrdinaryFileIsInIt) {
  MakeFolder("Empty");
  MakeFolder("OnlyHidden/sub");
  Touch("OnlyHidden/.dot");
  Touch("Graphics/x.gif");

  EXPECT_FALSE(HoldsOrdinaryFile(dir / "Empty"));
  EXPECT_FALSE(HoldsOrdinaryFile(dir / "OnlyHidden"));
  EXPECT_FALSE(HoldsOrdinaryFile(dir / "Missing"));
  EXPECT_FALSE(HoldsOrdinaryFile(dir / "Graphics/x.gif"));  // a file is no folder
  EXPECT_FALSE(HoldsOrdinaryFile(""));

  EXPECT_TRUE(HoldsOrdinaryFile(dir / "Graphics"));
  EXPECT_TRUE(HoldsOrdinaryFile(dir / "Graphics/"));
  EXPECT_TRUE(HoldsOrdinaryFile(dir / "GRAPHICS/"));
  EXPECT_FALSE(HoldsOrdinaryFile(dir.str()));  // sub-folders only
  Touch("top");
  EXPECT_TRUE(HoldsOrdinaryFile(dir.str()));
}

}  // namespace
}  // namespace orvo::gfx

namespace orvo::gfx {
namespace {

// Paths are UTF-8 in the game whatever the system's own encoding (UTF-16 on
// Windows): a folder named in Greek, Cyrillic and with an emoji is found,
// listed and read.
TEST(Utf8Paths, FoldersNamedInAnyScriptAreFoundListedAndRead) {
  testing::TempDir dir;
  const std::string folder =
      dir /
      "Orvo \xCE\x9F\xCF\x81\xCE\xB2\xCE\xBF \xD0\x98\xD0\xB3\xD1\x80\xD0\xB0 "
      "\xF0\x9F\x8E\xAE";
  std::filesystem::create_directories(PathFromUtf8(folder + "/Graphics"));
  {
    std::ofstream out(PathFromUtf8(folder + "/Graphics/Grid.gif"), std::ios::binary);
    out << "GIF89a";
  }
  EXPECT_TRUE(HoldsOrdinaryFile(folder + "/Graphics/"));
  const std::optional<std::string> found = FindOrdinaryFile(folder + "/GRAPHICS/grid.GIF");
  ASSERT_TRUE(found);
  EXPECT_EQ(Utf8FromPath(PathFromUtf8(*found).parent_path().parent_path()), folder);
  std::ifstream file = OpenForReading(*found);
  ASSERT_TRUE(file.is_open());
  char bytes[8] = {};
  file.read(bytes, sizeof bytes);
  EXPECT_EQ(file.gcount(), 6);
  EXPECT_EQ(std::string(bytes), "GIF89a");
}

}  // namespace
}  // namespace orvo::gfx
