// The end of a game: which cells decide it, the labels, and the grid laid
// over the board with AND.
#include <gtest/gtest.h>

#include "tests/game/game_rig.h"

namespace orvo_test {
namespace {

struct GridSize {
  int width;
  int height;
};

class GameOverTest : public ::testing::TestWithParam<GridSize> {
 protected:
  GameOverTest() : rig(GetParam().width, GetParam().height) {
    rig.StartPlaying();
    // A board with blocks, drawn in full, then some pure white and black
    // areas so that both ends of the AND show.
    rig.Cells()(9, 2) = 3;  // the entry cell is taken
    rig.Cells()(0, 5) = 1;
    rig.Cells()(4, 3) = 5;
    rig.game.DrawBoard();
    for (int y = 200; y < 288; ++y) {
      for (int x = 300; x < 480; ++x) {
        orvo::gfx::SetPixel(rig.Front(), x, y, (x + y) % 2 ? orvo::gfx::kWhite : 0);
      }
    }
    rig.State().Points = 1234;
    rig.State().MaxReactions = 7;
    rig.services.log.clear();
  }
  Rig rig;
};

TEST_P(GameOverTest, OverlayLabelsAndState) {
  const Surface before = rig.Front();
  rig.RecordFrames();
  rig.game.SpawnPair();

  EXPECT_FALSE(rig.State().Running);
  EXPECT_FALSE(rig.State().PairActive);
  EXPECT_EQ(rig.State().PairX, 9);
  EXPECT_EQ(rig.State().PairY, 2);
  EXPECT_EQ(rig.Cells()(9, 2), 3) << "no new pair is placed";
  EXPECT_EQ(rig.Cells()(10, 2), 0);
  EXPECT_EQ(rig.services.randomsTaken, 0);

  const std::vector<std::string> want = {
      "caption lblAction0=Start",  "tag lblAction0=start",      "caption lblScore=1234",
      "caption lblMaxReactions=7", "visible Label3=1",          "visible Label4=1",
      "visible lblScore=1",        "visible lblMaxReactions=1", "refresh",
  };
  EXPECT_EQ(rig.services.log, want);

  // Every pixel of the board is ANDed with the grid tile laid from (0, 0)
  // across the whole surface; the overlay is complete at the refresh.
  ASSERT_EQ(rig.services.frames.size(), 1u);
  const int gw = GetParam().width;
  const int gh = GetParam().height;
  for (int y = 0; y < 288; ++y) {
    for (int x = 0; x < 480; ++x) {
      const Color want_px = orvo::gfx::GetPixel(before, x, y) & GridAt(gw, gh, x % gw, y % gh);
      ASSERT_EQ(orvo::gfx::GetPixel(rig.services.frames[0], x, y), want_px)
          << "pixel (" << x << ", " << y << ")";
    }
  }
  EXPECT_TRUE(SamePixels(rig.services.frames[0], rig.Front()));
}

// A repaint after the game has ended keeps the overlaid board on screen.
TEST_P(GameOverTest, RepaintAfterwardsChangesNothing) {
  rig.game.SpawnPair();
  const Surface after = rig.Front();
  rig.services.log.clear();
  rig.game.DrawBoard();
  EXPECT_TRUE(SamePixels(after, rig.Front()));
  EXPECT_TRUE(rig.services.log.empty());
}

// 48 x 48: 7 rows of 11 tiles, the last ones clipped. 140 x 100: the tile
// counts round 480/140 and 288/100 down to 3, and one tile more in each
// direction is still needed to cover the surface.
INSTANTIATE_TEST_SUITE_P(GridTiles, GameOverTest,
                         ::testing::Values(GridSize{48, 48}, GridSize{140, 100}, GridSize{64, 40}),
                         [](const auto& info) {
                           return std::to_string(info.param.width) + "x" +
                                  std::to_string(info.param.height);
                         });

TEST(GameOverEntryTest, OnlyTheTwoEntryCellsDecide) {
  {
    Rig rig;
    rig.StartPlaying();
    rig.Cells()(10, 2) = 1;
    rig.game.SpawnPair();
    EXPECT_FALSE(rig.State().Running) << "a block left in column 10 ends the game";
    EXPECT_EQ(rig.services.captions[Control::lblScore], "0");
    EXPECT_EQ(rig.services.captions[Control::lblMaxReactions], "0");
  }
  {
    Rig rig;
    rig.StartPlaying();
    rig.services.now = 42000;
    for (int r : {0, 1, 3, 4, 5}) rig.Cells()(9, r) = 1 + r % 4;
    rig.Cells()(8, 2) = 2;
    rig.game.SpawnPair();
    EXPECT_TRUE(rig.State().Running);
    EXPECT_TRUE(rig.State().PairActive);
    EXPECT_GT(rig.Cells()(9, 2), 0);
    EXPECT_GT(rig.Cells()(10, 2), 0);
    EXPECT_EQ(rig.State().LastSlideTime, 42000);
    EXPECT_TRUE(rig.services.Only("visible").empty());
    // Only the left block is on the surface; it is drawn over what was there.
    EXPECT_TRUE(CellShows(rig.Front(), 9, 2, MarkerAt, {{rig.Cells()(9, 2), 0}}));
    EXPECT_EQ(rig.services.log.back(), "refresh");
  }
}

}  // namespace
}  // namespace orvo_test
