// The full repaint of the board and the merge animation, pixel by pixel.
#include <gtest/gtest.h>

#include "tests/game/game_rig.h"

namespace orvo_test {
namespace {

class BoardDrawingTest : public ::testing::Test {
 protected:
  BoardDrawingTest() { rig.StartPlaying(); }
  Rig rig;
};

TEST_F(BoardDrawingTest, NothingDrawnWhileNoGameRuns) {
  rig.Cells()(1, 1) = 2;
  rig.State().Running = false;
  const Surface before = rig.Front();
  rig.game.DrawBoard();
  EXPECT_TRUE(SamePixels(before, rig.Front()));
  EXPECT_TRUE(rig.services.log.empty()) << "not even a refresh";
}

TEST_F(BoardDrawingTest, RepaintShowsBackgroundAndBlocksAtRest) {
  const std::map<std::pair<int, int>, int> blocks = {
      {{0, 0}, 1}, {{9, 5}, 5}, {{4, 2}, 3}, {{9, 0}, 2}, {{5, 5}, 4}};
  for (const auto& [cell, v] : blocks) rig.Cells()(cell.first, cell.second) = v;
  rig.Cells()(10, 2) = 4;  // outside the surface, never drawn
  rig.game.DrawBoard();
  for (int cy = 0; cy <= orvo::game::MaxRow; ++cy) {
    for (int cx = 0; cx <= orvo::game::MaxCol; ++cx) {
      const auto it = blocks.find({cx, cy});
      if (it == blocks.end()) {
        EXPECT_TRUE(CellShows(rig.Front(), cx, cy, BackAt, {}));
      } else {
        EXPECT_TRUE(CellShows(rig.Front(), cx, cy, BackAt, {{it->second, 0}}));
      }
    }
  }
  EXPECT_EQ(rig.services.log, std::vector<std::string>{"refresh"});
}

struct MergeCase {
  int x1, y1, x2, y2, v;
};

class MergeAnimationTest : public BoardDrawingTest,
                           public ::testing::WithParamInterface<MergeCase> {};

// Each frame k: both cells restored, the new block at rest in the first cell
// with frame k of the old block over it, frame k of the old block in the
// second cell; a 100 ms pause before every frame; the grid untouched.
TEST_P(MergeAnimationTest, SixFramesOverRestoredCells) {
  const MergeCase m = GetParam();
  rig.Cells()(m.x1, m.y1) = m.v;
  rig.Cells()(m.x2, m.y2) = m.v;
  rig.Cells()(0, 0) = 1;  // elsewhere on the board: not touched
  const Surface before = rig.Front();
  rig.RecordFrames();

  rig.game.AnimateMerge(m.x1, m.y1, m.x2, m.y2, m.v + 1);

  ASSERT_EQ(rig.services.frames.size(), 6u);
  for (int k = 0; k < 6; ++k) {
    const Surface& f = rig.services.frames[static_cast<std::size_t>(k)];
    EXPECT_TRUE(CellShows(f, m.x1, m.y1, BackAt, {{m.v + 1, 0}, {m.v, k}})) << "frame " << k;
    if (m.x2 <= orvo::game::MaxCol) {
      EXPECT_TRUE(CellShows(f, m.x2, m.y2, BackAt, {{m.v, k}})) << "frame " << k;
    }
    EXPECT_TRUE(UnchangedOutside(before, f, {{m.x1, m.y1}, {m.x2, m.y2}})) << "frame " << k;
  }
  std::vector<std::string> want;
  for (int k = 0; k < 6; ++k) {
    want.push_back("wait 100");
    want.push_back("refresh");
  }
  EXPECT_EQ(rig.services.log, want);
  EXPECT_EQ(rig.Cells()(m.x1, m.y1), m.v);
  EXPECT_EQ(rig.Cells()(m.x2, m.y2), m.v);
}

INSTANTIATE_TEST_SUITE_P(Merges, MergeAnimationTest,
                         ::testing::Values(MergeCase{3, 4, 4, 4, 2},    // right-hand neighbour
                                           MergeCase{6, 1, 6, 2, 5},    // lower, into the 6 tile
                                           MergeCase{9, 5, 10, 5, 1}),  // partner off the surface
                         [](const auto& info) {
                           const MergeCase& m = info.param;
                           return "At" + std::to_string(m.x1) + "_" + std::to_string(m.y1) +
                                  "With" + std::to_string(m.x2) + "_" + std::to_string(m.y2);
                         });

}  // namespace
}  // namespace orvo_test
