// SetCell: its result, and exactly what it draws on the board surface.
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/game/game_rig.h"

namespace orvo_test {
namespace {

// The synthetic pictures are written once per run; remove them at the end.
class PictureFolderCleanup : public ::testing::Environment {
 public:
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(PictureFolder(), ignored);
  }
};
[[maybe_unused]] const auto* const kCleanup =
    ::testing::AddGlobalTestEnvironment(new PictureFolderCleanup);

class SetCellTest : public ::testing::Test {
 protected:
  Rig rig;
  Surface before = rig.Front();
};

TEST_F(SetCellTest, SameValueReturnsZeroAndDrawsNothing) {
  rig.Cells()(3, 3) = 3;
  EXPECT_EQ(rig.game.SetCell(3, 3, 3), 0) << "a block set to its own value yields 0, not 3";
  EXPECT_EQ(rig.Cells()(3, 3), 3);
  EXPECT_EQ(rig.game.SetCell(5, 1, 0), 0) << "emptying an empty cell";
  EXPECT_EQ(rig.Cells()(5, 1), 0);
  EXPECT_TRUE(SamePixels(before, rig.Front()));
  EXPECT_TRUE(rig.services.log.empty()) << "SetCell never refreshes the board view";
}

TEST_F(SetCellTest, EmptyingABlockRestoresOnlyTheBackground) {
  rig.Cells()(4, 2) = 4;
  EXPECT_EQ(rig.game.SetCell(4, 2, 0), 4);
  EXPECT_EQ(rig.Cells()(4, 2), 0);
  EXPECT_TRUE(CellShows(rig.Front(), 4, 2, BackAt, {}));
  EXPECT_TRUE(UnchangedOutside(before, rig.Front(), {{4, 2}}));
  EXPECT_TRUE(rig.services.log.empty());
}

TEST_F(SetCellTest, BlockOnEmptyCellIsDrawnWithoutBackgroundCopy) {
  EXPECT_EQ(rig.game.SetCell(7, 5, 2), 0);
  EXPECT_EQ(rig.Cells()(7, 5), 2);
  // Where the sprite is transparent the board surface keeps what it showed.
  EXPECT_TRUE(CellShows(rig.Front(), 7, 5, MarkerAt, {{2, 0}}));
  EXPECT_TRUE(UnchangedOutside(before, rig.Front(), {{7, 5}}));
}

TEST_F(SetCellTest, BlockOverBlockCopiesBackgroundThenDrawsSprite) {
  rig.Cells()(0, 0) = 3;
  EXPECT_EQ(rig.game.SetCell(0, 0, 2), 3);
  EXPECT_EQ(rig.Cells()(0, 0), 2);
  EXPECT_TRUE(CellShows(rig.Front(), 0, 0, BackAt, {{2, 0}}));
  EXPECT_TRUE(UnchangedOutside(before, rig.Front(), {{0, 0}}));
}

TEST_F(SetCellTest, NearWhiteSpritePixelsAreOpaque) {
  rig.game.SetCell(1, 1, 5);
  EXPECT_EQ(orvo::gfx::GetPixel(rig.Front(), 48, 48 + 47), kNearWhite);
}

TEST_F(SetCellTest, MovingABlockEmptiesSourceAndDrawsTarget) {
  rig.Cells()(2, 3) = 4;
  const std::int32_t moved = rig.game.SetCell(2, 3, 0);
  EXPECT_EQ(moved, 4);
  EXPECT_EQ(rig.game.SetCell(2, 4, moved), 0);
  EXPECT_EQ(rig.Cells()(2, 3), 0);
  EXPECT_EQ(rig.Cells()(2, 4), 4);
  EXPECT_TRUE(CellShows(rig.Front(), 2, 3, BackAt, {}));
  EXPECT_TRUE(CellShows(rig.Front(), 2, 4, MarkerAt, {{4, 0}}));
  EXPECT_TRUE(UnchangedOutside(before, rig.Front(), {{2, 3}, {2, 4}}));
}

TEST_F(SetCellTest, SpareCellsChangeTheGridButNothingVisible) {
  EXPECT_EQ(rig.game.SetCell(10, 2, 3), 0);
  EXPECT_EQ(rig.Cells()(10, 2), 3);
  EXPECT_EQ(rig.game.SetCell(10, 2, 1), 3);
  EXPECT_EQ(rig.game.SetCell(10, 2, 0), 1);
  EXPECT_EQ(rig.game.SetCell(11, 6, 4), 0);
  EXPECT_EQ(rig.game.SetCell(11, 6, 0), 4);
  EXPECT_EQ(rig.game.SetCell(3, 6, 2), 0);
  EXPECT_EQ(rig.game.SetCell(3, 6, 0), 2);
  EXPECT_TRUE(SamePixels(before, rig.Front()));
}

TEST_F(SetCellTest, AccessOutsideTheGridIsRefused) {
  EXPECT_THROW(rig.game.SetCell(12, 0, 1), orvo::game::GridAccessError);
  EXPECT_THROW(rig.game.SetCell(0, 7, 1), orvo::game::GridAccessError);
  EXPECT_THROW(rig.game.SetCell(-1, 0, 1), orvo::game::GridAccessError);
  EXPECT_TRUE(SamePixels(before, rig.Front()));
}

// NewGame resets the variables and the whole grid, and draws nothing.
TEST(NewGameTest, ResetsStateGridAndLabelsWithoutDrawing) {
  Rig rig;
  auto& s = rig.State();
  s.Running = true;
  s.PairX = 4;
  s.PairY = 1;
  s.Cleared = 7;
  s.Level = 9;
  s.Points = 5000;
  s.MaxReactions = 6;
  s.Reactions = 3;
  s.Bombs = 2;
  s.NextBombPoints = 9000;
  s.PairActive = false;
  for (int c = 0; c < orvo::game::kBoardColumns; ++c) {
    for (int r = 0; r < orvo::game::kBoardRows; ++r) rig.Cells()(c, r) = 1 + (c + r) % 5;
  }
  const Surface before = rig.Front();
  rig.services.now = 77777;

  rig.game.NewGame();

  EXPECT_TRUE(s.PairActive);
  EXPECT_EQ(s.LastSlideTime, 77777);
  EXPECT_EQ(s.Level, 1);
  EXPECT_EQ(s.Points, 0);
  EXPECT_EQ(s.MaxReactions, 0);
  EXPECT_EQ(s.Reactions, 0);
  EXPECT_EQ(s.Bombs, 0);
  EXPECT_EQ(s.NextBombPoints, 1000);
  // Left alone.
  EXPECT_TRUE(s.Running);
  EXPECT_EQ(s.PairX, 4);
  EXPECT_EQ(s.PairY, 1);
  EXPECT_EQ(s.Cleared, 7);
  for (int c = 0; c < orvo::game::kBoardColumns; ++c) {
    for (int r = 0; r < orvo::game::kBoardRows; ++r) {
      EXPECT_EQ(rig.Cells()(c, r), 0) << c << ", " << r;
    }
  }
  EXPECT_TRUE(SamePixels(before, rig.Front()));
  const std::vector<std::string> want = {
      "reseed",
      "caption lblPoints=0",
      "caption lblReactions=0/0",
      "caption lblNextLevelPoints=30",
      "caption lblLevel=1",
      "caption lblBombs=",
      "visible Label3=0",
      "visible Label4=0",
      "visible lblScore=0",
      "visible lblMaxReactions=0",
      "refresh",
  };
  EXPECT_EQ(rig.services.log, want);
}

}  // namespace
}  // namespace orvo_test
