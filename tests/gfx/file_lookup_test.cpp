#include "gfx/file_lookup.h"

#include <gtest/gtest.h>

#include <filesystem>

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
  EXPECT_EQ(FindOrdinaryFile(dir / "GRAPHICS/BLOCKS.GIF"), real);
  EXPECT_EQ(FindOrdinaryFile(dir / "graphics/blocks.gif"), real);
  EXPECT_EQ(FindOrdinaryFile(dir / "graphics/./Blocks.GIF"), dir / "Graphics/./Blocks.gif");
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
