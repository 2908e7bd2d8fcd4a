#include "platform/posix/posix_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/gfx/test_files.h"

namespace orvo::posix {
namespace {

using Kind = gfx::FolderEntry::Kind;
using Status = gfx::FileRead::Status;

TEST(PosixFiles, ListsEachEntryAsWhatItIs) {
  gfx::testing::TempDir dir;
  gfx::testing::WriteBytes(dir / "Blocks.gif", {1});
  ASSERT_EQ(mkdir((dir / "Graphics").c_str(), 0755), 0);
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0644), 0);
  ASSERT_EQ(symlink("Blocks.gif", (dir / "link.gif").c_str()), 0);
  ASSERT_EQ(symlink("nowhere", (dir / "dangling.gif").c_str()), 0);
  std::optional<std::vector<gfx::FolderEntry>> entries = ListFolder(dir.str());
  ASSERT_TRUE(entries);
  std::sort(entries->begin(), entries->end(),
            [](const auto& a, const auto& b) { return a.name < b.name; });
  const std::vector<std::pair<std::string, Kind>> want = {{"Blocks.gif", Kind::kFile},
                                                          {"Graphics", Kind::kFolder},
                                                          {"dangling.gif", Kind::kOther},
                                                          {"fifo", Kind::kOther},
                                                          {"link.gif", Kind::kFile}};
  ASSERT_EQ(entries->size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ((*entries)[i].name, want[i].first);
    EXPECT_EQ((*entries)[i].kind, want[i].second) << want[i].first;
  }
  EXPECT_EQ(ListFolder(dir / "missing"), std::nullopt);
  EXPECT_EQ(ListFolder(dir / "Blocks.gif"), std::nullopt);
}

TEST(PosixFiles, ReadsWholeFilesUpToTheLimitWhateverTheirClaimedSize) {
  gfx::testing::TempDir dir;
  gfx::testing::WriteBytes(dir / "four", {1, 2, 3, 4});
  ASSERT_EQ(mkdir((dir / "folder").c_str(), 0755), 0);
  const struct {
    std::string path;
    std::int64_t limit;
    Status status;
    std::size_t size;
  } cases[] = {
      {dir / "four", 4, Status::kRead, 4},
      {dir / "four", 3, Status::kTooLarge, 0},
      {dir / "four", 0, Status::kTooLarge, 0},
      // a device that claims no size and never ends
      {"/dev/zero", 100000, Status::kTooLarge, 0},
      {dir / "missing", 4, Status::kCannotOpen, 0},
      {dir / "folder", 4, Status::kReadError, 0},
  };
  for (const auto& c : cases) {
    std::vector<std::uint8_t> bytes = {9};
    const gfx::FileRead read = ReadFile(c.path, c.limit, bytes);
    EXPECT_EQ(read.status, c.status) << c.path << " " << c.limit;
    EXPECT_EQ(bytes.size(), c.size) << c.path;
  }
  std::vector<std::uint8_t> bytes;
  EXPECT_EQ(ReadFile(dir / "missing", 4, bytes).cause, "No such file or directory");
}

}  // namespace
}  // namespace orvo::posix
