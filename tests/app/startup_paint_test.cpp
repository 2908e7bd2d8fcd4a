// Start-up with the game's own pictures, repainting, and shutdown.
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "gfx/sprite_draw.h"
#include "tests/app/fake_services.h"

namespace orvo_test {
namespace {

using namespace orvo::app;

class StartedAppTest : public ::testing::Test {
 protected:
  StartedAppTest() {
    std::string error;
    started = rig.app.StartUp(ORVO_GRAPHICS_DIR, error);
    EXPECT_TRUE(started) << error;
  }
  orvo::gfx::SurfaceTable& Table() { return *rig.app.Rules().Graphics().surfaces; }
  orvo::gfx::Surface& Front() { return *Table().Get(rig.app.Rules().Graphics().FrontDC); }
  const orvo::gfx::BitmapEntry& Picture(std::int32_t index) {
    return *rig.app.Rules().Graphics().cache->Entry(index);
  }
  const orvo::gfx::Surface& Background() {
    return *Table().Get(Picture(rig.app.Rules().Graphics().BackBitmap).DC);
  }
  // Front equals the background picture, except in the listed cells.
  ::testing::AssertionResult ShowsBackgroundExcept(std::set<std::pair<int, int>> cells) {
    for (int y = 0; y < 288; ++y) {
      for (int x = 0; x < 480; ++x) {
        if (cells.count({x / 48, y / 48}) != 0) continue;
        if (orvo::gfx::GetPixel(Front(), x, y) != orvo::gfx::GetPixel(Background(), x, y)) {
          return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ")";
        }
      }
    }
    return ::testing::AssertionSuccess();
  }

  AppRig rig;
  bool started = false;
};

TEST_F(StartedAppTest, LoadsThePicturesAndResetsTheGame) {
  ASSERT_TRUE(started);
  const auto& g = rig.app.Rules().Graphics();
  EXPECT_EQ(Front().Width(), 480);
  EXPECT_EQ(Front().Height(), 288);
  const auto& back = Picture(g.BackBitmap);
  const auto& blocks = Picture(g.BlocksBitmap);
  const auto& grid = Picture(g.GridBitmap);
  EXPECT_GE(back.Width, 480);
  EXPECT_GE(back.Height, 288);
  EXPECT_EQ(back.MaskDC, orvo::gfx::kNoMask);
  EXPECT_GE(blocks.Width, 7 * 48);
  EXPECT_GE(blocks.Height, 6 * 48);
  EXPECT_NE(Table().Get(blocks.MaskDC), nullptr) << "the sprite sheet has a mask";
  EXPECT_EQ(grid.MaskDC, orvo::gfx::kNoMask);
  EXPECT_GT(grid.Width, 0);

  EXPECT_FALSE(rig.State().Running);
  EXPECT_TRUE(rig.State().PairActive);
  EXPECT_EQ(rig.State().Level, 1);
  EXPECT_EQ(rig.State().NextBombPoints, 1000);
  EXPECT_EQ(rig.Label(Control::lblPoints).Caption, "0");
  EXPECT_EQ(rig.Label(Control::lblReactions).Caption, "0/0");
  EXPECT_EQ(rig.Label(Control::lblNextLevelPoints).Caption, "30");
  EXPECT_EQ(rig.Label(Control::lblLevel).Caption, "1");
  EXPECT_EQ(rig.Label(Control::lblBombs).Caption, "");
  EXPECT_FALSE(rig.Label(Control::lblScore).Visible);
}

TEST_F(StartedAppTest, PaintWhileNoGameRunsLeavesTheSurface) {
  ASSERT_TRUE(started);
  rig.Cells()(3, 3) = 2;
  Front().Fill(0x123456);
  const orvo::gfx::Surface before = Front();
  const int refreshes = rig.host.refreshes;
  rig.app.Form_Paint();
  EXPECT_EQ(Front().Pixels(), before.Pixels());
  EXPECT_EQ(rig.host.refreshes, refreshes);
}

TEST_F(StartedAppTest, PaintDuringAGameRepaintsTheBoard) {
  ASSERT_TRUE(started);
  rig.State().Running = true;
  Front().Fill(0x123456);
  rig.app.Form_Paint();
  EXPECT_TRUE(ShowsBackgroundExcept({}));
  rig.Cells()(2, 2) = 3;
  rig.app.Form_Paint();
  EXPECT_TRUE(ShowsBackgroundExcept({{2, 2}}));
  EXPECT_NE(orvo::gfx::GetPixel(Front(), 2 * 48 + 24, 2 * 48 + 24),
            orvo::gfx::GetPixel(Background(), 2 * 48 + 24, 2 * 48 + 24))
      << "the block is drawn";
}

// A new game shows no block of the previous one, although NewGame itself
// draws nothing.
TEST_F(StartedAppTest, NewGameStartsOnACleanPicture) {
  ASSERT_TRUE(started);
  rig.host.batches.push_back([&] {
    rig.app.Rules().SetCell(0, 5, 4);
    rig.app.Rules().SetCell(6, 1, 2);
    rig.app.lblAction_Click(0);  // Stop: the blocks stay
  });
  rig.app.lblAction_Click(0);
  ASSERT_FALSE(ShowsBackgroundExcept({{9, 2}}));

  rig.host.batches.push_back([&] {
    EXPECT_TRUE(ShowsBackgroundExcept({{9, 2}}));
    rig.app.lblAction_Click(0);
  });
  rig.app.lblAction_Click(0);
  EXPECT_EQ(rig.host.unscriptedCalls, 0);
}

TEST_F(StartedAppTest, ShutDownReleasesEverySurface) {
  ASSERT_TRUE(started);
  EXPECT_GT(Table().LiveCount(), 0u);
  EXPECT_THROW(rig.app.lblAction_Click(1), ProgramEnded);
  EXPECT_EQ(Table().LiveCount(), 0u);
}

TEST(StartUpTest, MissingPictureIsReported) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("orvo_app_tests_" + std::to_string(static_cast<long>(::getpid())));
  std::filesystem::create_directories(dir);
  // The background is there; the sprite sheet is not.
  std::filesystem::copy_file(std::string(ORVO_GRAPHICS_DIR) + "GameBack.jpg", dir / "GameBack.jpg",
                             std::filesystem::copy_options::overwrite_existing);
  AppRig rig;
  std::string error;
  EXPECT_FALSE(rig.app.StartUp(dir.string() + "/", error));
  EXPECT_NE(error.find("Blocks.gif"), std::string::npos) << error;
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace orvo_test
