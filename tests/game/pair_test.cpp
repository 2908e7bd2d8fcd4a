// The pair's timed slide and moves: when they act, and what they draw.
#include <gtest/gtest.h>

#include "tests/game/game_rig.h"

namespace orvo_test {
namespace {

class PairTest : public ::testing::Test {
 protected:
  PairTest() {
    rig.StartPlaying();
    rig.services.randoms = {0.8f, 0.1f};  // the pair 3, 1
    rig.services.now = 50000;
    rig.game.SpawnPair();
    rig.services.log.clear();
  }
  Rig rig;
};

// Level 1: 960 ms. Due only when the tick count is strictly later.
TEST_F(PairTest, SlideIsDueStrictlyAfterItsInterval) {
  EXPECT_EQ(rig.State().LastSlideTime, 50000);
  rig.services.now = 50960;
  rig.game.SlidePair();
  EXPECT_EQ(rig.State().PairX, 9);
  EXPECT_TRUE(rig.services.log.empty());

  rig.services.now = 50961;
  rig.services.tickStep = 3;  // every reading of the clock is 3 ms later
  rig.game.SlidePair();
  EXPECT_EQ(rig.State().PairX, 8);
  EXPECT_EQ(rig.Cells()(8, 2), 3);
  EXPECT_EQ(rig.Cells()(9, 2), 1);
  EXPECT_EQ(rig.Cells()(10, 2), 0);
  EXPECT_EQ(rig.State().LastSlideTime, 50964) << "a fresh reading taken after the test";
  EXPECT_EQ(rig.services.log, std::vector<std::string>{"refresh"});
  EXPECT_TRUE(CellShows(rig.Front(), 8, 2, MarkerAt, {{3, 0}}));
  EXPECT_TRUE(CellShows(rig.Front(), 9, 2, BackAt, {{1, 0}}));
}

TEST_F(PairTest, SlideIntervalShrinksWithTheLevel) {
  rig.State().Level = 10;  // 600 ms
  rig.services.now = 50600;
  rig.game.SlidePair();
  EXPECT_EQ(rig.State().PairX, 9);
  rig.services.now = 50601;
  rig.game.SlidePair();
  EXPECT_EQ(rig.State().PairX, 8);

  rig.State().Level = 26;  // -40 ms: every turn steps
  const std::int64_t t = rig.State().LastSlideTime;
  rig.services.now = t;
  rig.game.SlidePair();
  EXPECT_EQ(rig.State().PairX, 7);
}

TEST_F(PairTest, SlideDoesNothingWithoutAPair) {
  rig.State().PairActive = false;
  rig.services.now = 99999;
  rig.game.SlidePair();
  EXPECT_EQ(rig.State().PairX, 9);
  EXPECT_EQ(rig.State().LastSlideTime, 50000);
}

TEST_F(PairTest, LeftStepLeavesTheSlideTimerAlone) {
  rig.services.now = 50500;
  rig.game.MovePairLeft();
  EXPECT_EQ(rig.State().PairX, 8);
  EXPECT_EQ(rig.State().LastSlideTime, 50000);
}

TEST_F(PairTest, RefusedVerticalMovesChangeAndDrawNothing) {
  const Surface before = rig.Front();
  rig.Cells()(10, 1) = 2;  // only one of the two cells above is taken
  rig.game.MovePairUp();
  EXPECT_EQ(rig.State().PairY, 2);
  EXPECT_TRUE(rig.services.log.empty());
  EXPECT_TRUE(SamePixels(before, rig.Front()));
  rig.Cells()(10, 1) = 0;

  for (int i = 0; i < 3; ++i) rig.game.MovePairDown();
  EXPECT_EQ(rig.State().PairY, 5);
  rig.services.log.clear();
  const Surface atFloor = rig.Front();
  rig.game.MovePairDown();  // the floor: the clamped target is the pair's own row
  EXPECT_EQ(rig.State().PairY, 5);
  EXPECT_TRUE(rig.State().PairActive) << "a refused move never lands the pair";
  EXPECT_TRUE(rig.services.log.empty());
  EXPECT_TRUE(SamePixels(atFloor, rig.Front()));
}

// At column 0 the left step lands the pair where it is. With nothing to
// merge no fall step runs, so the pair stays in its row.
TEST_F(PairTest, PairAtTheWallLandsWithoutMoving) {
  for (int i = 0; i < 9; ++i) rig.game.MovePairLeft();
  ASSERT_EQ(rig.State().PairX, 0);
  ASSERT_EQ(rig.Cells()(0, 2), 3);
  rig.services.log.clear();
  rig.game.MovePairLeft();
  EXPECT_EQ(rig.Cells()(0, 2), 3);
  EXPECT_EQ(rig.Cells()(1, 2), 1);
  EXPECT_EQ(rig.State().Reactions, 0);
  EXPECT_EQ(rig.State().PairX, 9);
  EXPECT_TRUE(rig.State().PairActive);
  EXPECT_EQ(rig.services.log, (std::vector<std::string>{"refresh", "wait 500", "refresh"}));
}

}  // namespace
}  // namespace orvo_test
