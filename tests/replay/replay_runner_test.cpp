// Whole replays on the real game: start-up failures, and the snapshot of the
// board surface.
#include "tools/replay/replay_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "gfx/picture_decoder.h"

namespace orvo::replay {
namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out;
  std::string error;
};

Result Replay(const std::string& scenario, const std::string& graphics = ORVO_GRAPHICS_DIR) {
  Result r;
  std::istringstream in(scenario);
  LineWriter writer(&r.out);
  ReplayOptions options;
  options.graphicsDir = graphics;
  r.status = RunReplay(in, options, writer, r.error);
  return r;
}

class ScratchFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        fs::temp_directory_path() /
        ("orvo_replay_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path folder_;
};

using ReplayRunner = ScratchFolder;

TEST_F(ReplayRunner, MissingPictureFolderFailsBeforeTheFirstLine) {
  Result r = Replay("dump\n", (folder_ / "nowhere/").string());
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.error, "orvo-replay: line 0: Path not found: " + (folder_ / "nowhere/").string());
}

TEST_F(ReplayRunner, MissingPictureFailsBeforeTheFirstLine) {
  // Only the background is there: the block sheet is missing.
  fs::copy_file(fs::path(ORVO_GRAPHICS_DIR) / "GameBack.jpg", folder_ / "GameBack.jpg");
  Result r = Replay("dump\n", folder_.string() + "/");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.error.rfind("orvo-replay: line 0: ", 0), 0u) << r.error;
  EXPECT_NE(r.error.find("Blocks.gif"), std::string::npos) << r.error;
}

TEST_F(ReplayRunner, SnapshotWritesTheBoardSurface) {
  const fs::path png = folder_ / "board.png";
  // The first pair is 1 and 2 at (9, 2) and (10, 2); the start repaints the
  // whole board, so every other cell shows the background.
  Result r = Replay("random 0.1 0.5\nat 1100 click 0\nrun 1200\nsnapshot " + png.string() + "\n");
  ASSERT_EQ(r.status, 0) << r.error;

  std::string error;
  std::optional<gfx::Surface> shot = gfx::DecodePicture(png.string(), error);
  ASSERT_TRUE(shot) << error;
  std::optional<gfx::Surface> back =
      gfx::DecodePicture(std::string(ORVO_GRAPHICS_DIR) + "GameBack.jpg", error);
  ASSERT_TRUE(back) << error;
  ASSERT_EQ(shot->Width(), 480);
  ASSERT_EQ(shot->Height(), 288);

  auto cell_differs = [&](int column, int row) {
    for (int y = row * 48; y < row * 48 + 48; ++y) {
      for (int x = column * 48; x < column * 48 + 48; ++x) {
        if (gfx::GetPixel(*shot, x, y) != gfx::GetPixel(*back, x, y)) return true;
      }
    }
    return false;
  };
  for (int row = 0; row < 6; ++row) {
    for (int column = 0; column < 10; ++column) {
      EXPECT_EQ(cell_differs(column, row), column == 9 && row == 2) << column << "," << row;
    }
  }
}

TEST_F(ReplayRunner, FailedSnapshotIsAnErrorAfterTheEarlierOutput) {
  Result r = Replay("dump\nsnapshot " + (folder_ / "missing/board.png").string() + "\ndump\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);
  EXPECT_EQ(r.error.rfind("orvo-replay: line 2: snapshot: ", 0), 0u) << r.error;
}

}  // namespace
}  // namespace orvo::replay
