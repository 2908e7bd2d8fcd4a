// Using a bomb: the six-frame blast, the wipe of the whole grid, the pause
// and the new pair.
#include <gtest/gtest.h>

#include "tests/game/game_rig.h"

namespace orvo_test {
namespace {

class BombTest : public ::testing::Test {
 protected:
  BombTest() {
    rig.StartPlaying();
    rig.State().Level = 4;
    rig.State().Points = 777;
    rig.State().MaxReactions = 3;
    rig.State().Reactions = 2;
    rig.State().Cleared = 1;
  }
  Rig rig;
};

TEST_F(BombTest, WithoutBombsNothingHappens) {
  rig.Cells()(9, 2) = 2;
  rig.Cells()(10, 2) = 3;
  const Surface before = rig.Front();
  rig.game.UseBomb();
  EXPECT_EQ(rig.State().Bombs, 0);
  EXPECT_TRUE(rig.services.log.empty());
  EXPECT_EQ(rig.Cells()(9, 2), 2);
  EXPECT_EQ(rig.Cells()(10, 2), 3);
  EXPECT_TRUE(SamePixels(before, rig.Front()));
}

TEST_F(BombTest, BlastWipesEverythingAndBringsANewPair) {
  rig.State().Bombs = 2;
  rig.Cells()(2, 5) = 3;
  rig.Cells()(9, 2) = 1;   // the pair's visible left block
  rig.Cells()(10, 2) = 4;  // its right block, still off the board
  rig.Cells()(11, 6) = 2;  // spare cells go too
  rig.Cells()(4, 6) = 1;
  rig.game.DrawBoard();
  rig.services.log.clear();
  const Surface before = rig.Front();
  rig.RecordFrames();
  rig.services.randoms = {0.5f, 0.8f};  // the new pair: 2 and 3

  rig.game.UseBomb();

  EXPECT_EQ(rig.State().Bombs, 1);
  std::vector<std::string> want = {"caption lblBombs=" + orvo::game::BombsText(1)};
  for (int k = 0; k < 6; ++k) {
    want.push_back("wait 100");
    want.push_back("refresh");
  }
  for (const char* e : {"refresh", "wait 500", "refresh"}) want.push_back(e);
  EXPECT_EQ(rig.services.log, want);

  // Frames 0-5 animate the visible blocks over their restored background.
  ASSERT_EQ(rig.services.frames.size(), 8u);
  for (int k = 0; k < 6; ++k) {
    const Surface& f = rig.services.frames[static_cast<std::size_t>(k)];
    EXPECT_TRUE(CellShows(f, 2, 5, BackAt, {{3, k}})) << "frame " << k;
    EXPECT_TRUE(CellShows(f, 9, 2, BackAt, {{1, k}})) << "frame " << k;
    EXPECT_TRUE(UnchangedOutside(before, f, {{2, 5}, {9, 2}})) << "frame " << k;
  }
  // After the wipe the former blocks show the background alone.
  const Surface& wiped = rig.services.frames[6];
  EXPECT_TRUE(CellShows(wiped, 2, 5, BackAt, {}));
  EXPECT_TRUE(CellShows(wiped, 9, 2, BackAt, {}));
  EXPECT_TRUE(UnchangedOutside(before, wiped, {{2, 5}, {9, 2}}));

  // Only the new pair is on the grid; the game goes on as before.
  for (int c = 0; c < orvo::game::kBoardColumns; ++c) {
    for (int r = 0; r < orvo::game::kBoardRows; ++r) {
      const bool entry = r == 2 && (c == 9 || c == 10);
      if (!entry) {
        EXPECT_EQ(rig.Cells()(c, r), 0) << c << ", " << r;
      }
    }
  }
  EXPECT_EQ(rig.Cells()(9, 2), 2);
  EXPECT_EQ(rig.Cells()(10, 2), 3);
  EXPECT_TRUE(rig.State().PairActive);
  EXPECT_TRUE(rig.State().Running);
  EXPECT_EQ(rig.State().PairX, 9);
  EXPECT_EQ(rig.State().PairY, 2);
  EXPECT_EQ(rig.State().Points, 777);
  EXPECT_EQ(rig.State().Level, 4);
  EXPECT_EQ(rig.State().MaxReactions, 3);
  EXPECT_EQ(rig.State().Reactions, 2);
  EXPECT_EQ(rig.State().Cleared, 1);
  EXPECT_EQ(rig.State().LastSlideTime, rig.services.now) << "the slide timer starts afresh";
}

// A stray block in column 10 would end the game at the next spawn; the bomb
// removes it first.
TEST_F(BombTest, StrayBlockInColumnTenIsRemoved) {
  rig.State().Bombs = 1;
  rig.Cells()(10, 2) = 4;
  rig.Cells()(9, 2) = 4;
  rig.game.UseBomb();
  EXPECT_TRUE(rig.State().Running);
  EXPECT_EQ(rig.State().Bombs, 0);
  EXPECT_EQ(rig.services.captions[Control::lblBombs], "");
}

}  // namespace
}  // namespace orvo_test
