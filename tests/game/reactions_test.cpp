// The landing cascade: merges, removals, falls, scoring and the order in
// which it waits, refreshes and writes the labels.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "tests/game/game_rig.h"

namespace orvo_test {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

struct Cell {
  int column;
  int row;
  std::int32_t value;
};

class CascadeTest : public ::testing::Test {
 protected:
  CascadeTest() {
    rig.StartPlaying();
    rig.State().Level = 5;
  }
  // Puts blocks on the board without drawing them.
  void Place(std::initializer_list<Cell> cells) {
    for (const Cell& c : cells) rig.Cells()(c.column, c.row) = c.value;
  }
  // Lands a pair whose left block stands at (x, y).
  void LandPairAt(int x, int y) {
    rig.State().PairX = x;
    rig.State().PairY = y;
    rig.game.Land();
  }
  // Every visible cell and column 10 except the new pair's entry cells.
  void ExpectBoard(std::initializer_list<Cell> blocks) {
    std::map<std::pair<int, int>, std::int32_t> want;
    for (const Cell& c : blocks) want[{c.column, c.row}] = c.value;
    for (int c = 0; c <= 10; ++c) {
      for (int r = 0; r <= orvo::game::MaxRow + 1; ++r) {
        if (r == 2 && (c == 9 || c == 10) && rig.State().Running) continue;  // the new pair
        const auto it = want.find({c, r});
        EXPECT_EQ(rig.Cells()(c, r), it == want.end() ? 0 : it->second)
            << "cell (" << c << ", " << r << ")";
      }
    }
  }
  std::vector<std::string> Waits() const { return rig.services.Only("wait"); }
  static std::vector<std::string> Repeat(int n, const std::string& s) {
    return std::vector<std::string>(static_cast<std::size_t>(n), s);
  }
  static std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
  }

  Rig rig;
};

// Row 5 holds 1; a pair 1, 2 lands beside it. One merge, no fall, the pause
// and the next pair, in exactly this order.
TEST_F(CascadeTest, ExampleA_OrderOfOneMerge) {
  Place({{0, 5, 1}, {1, 5, 1}, {2, 5, 2}});
  LandPairAt(1, 5);

  std::vector<std::string> want;
  for (int k = 0; k < 6; ++k) {
    want.push_back("wait 100");  // the pause comes before each frame
    want.push_back("refresh");
  }
  // T(5) with a best chain of 1 is Int(750 / 1.2) = 625.
  for (const char* e : {"caption lblReactions=1/1", "caption lblPoints=21",
                        "caption lblReactions=1/1", "caption lblNextLevelPoints=604",
                        "refresh",                 // the fall step, which moves nothing
                        "refresh",                 // the scan that merges nothing
                        "wait 500", "refresh"}) {  // then the spawn
    want.push_back(e);
  }
  EXPECT_EQ(rig.services.log, want);
  ExpectBoard({{0, 5, 2}, {2, 5, 2}});
  EXPECT_EQ(rig.State().Points, 21);
  EXPECT_EQ(rig.State().Reactions, 1);
  EXPECT_TRUE(rig.State().PairActive);
  EXPECT_EQ(rig.State().PairX, 9);
  EXPECT_EQ(rig.State().PairY, 2);
  EXPECT_GT(rig.Cells()(9, 2), 0);
  EXPECT_GT(rig.Cells()(10, 2), 0);
}

// 4 1 / 4 5: the merged 5 falls, meets the other 5, and the 6 vanishes.
TEST_F(CascadeTest, ExampleC_RemovalLeavesItsBurstOnTheSurface) {
  Place({{0, 4, 4}, {1, 4, 1}, {0, 5, 4}, {1, 5, 5}});
  LandPairAt(0, 4);
  ExpectBoard({{1, 5, 1}});
  EXPECT_EQ(rig.State().Points, 1253);
  EXPECT_EQ(rig.State().Reactions, 2);
  EXPECT_EQ(rig.State().Cleared, 1);
  EXPECT_EQ(
      Waits(),
      Join({Repeat(6, "wait 100"), {"wait 200"}, Repeat(6, "wait 100"), {"wait 200", "wait 500"}}));
  // The removal writes 0 without drawing: the cell keeps the sprite of 6
  // that the merge drew over the background.
  EXPECT_TRUE(CellShows(rig.Front(), 0, 5, BackAt, {{6, 0}}));
  EXPECT_TRUE(CellShows(rig.Front(), 1, 5, BackAt, {{1, 0}}));
}

// Column 10 is read only as the right-hand neighbour of column 9: its blocks
// are never scanned as cells and never fall.
TEST_F(CascadeTest, ColumnTenIsNeitherScannedNorFalls) {
  Place({{10, 2, 2}, {10, 3, 2}, {5, 5, 3}});
  LandPairAt(5, 5);
  EXPECT_EQ(rig.Cells()(10, 2), 2);
  EXPECT_EQ(rig.Cells()(10, 3), 2);
  EXPECT_EQ(rig.Cells()(5, 5), 3);
  EXPECT_EQ(rig.State().Reactions, 0);
  EXPECT_FALSE(rig.State().Running) << "the block left in column 10 ends the game at the spawn";
  for (int c = 0; c < orvo::game::kBoardColumns; ++c) EXPECT_EQ(rig.Cells()(c, 6), 0);
}

// A landing that merges nothing: no chain or points texts, the pause, the pair.
TEST_F(CascadeTest, NoMergeGoesStraightToThePause) {
  rig.State().MaxReactions = 4;
  Place({{0, 5, 1}, {1, 5, 2}, {2, 5, 3}});
  LandPairAt(1, 5);
  const std::vector<std::string> want = {"refresh", "wait 500", "refresh"};
  EXPECT_EQ(rig.services.log, want);
  EXPECT_EQ(rig.State().Reactions, 0);
  EXPECT_EQ(rig.State().MaxReactions, 4);
}

// Halves go to the even neighbour: 1.5 + 4 and 2.5 + 4 both give 6.
TEST_F(CascadeTest, MergeAmountRoundsHalvesToEven) {
  for (std::int32_t reactionsBefore : {4, 14}) {
    rig.StartPlaying();
    rig.State().Reactions = reactionsBefore;  // this merge is number 5, or 15
    Place({{0, 5, 1}, {1, 5, 1}});
    rig.game.ResolveReactions();
    EXPECT_EQ(rig.State().Points, 6) << "merge number " << reactionsBefore + 1;
  }
}

// Sixty level-5 blocks: thirty merges and thirty removals in one scan. The
// removal amounts double each time; from the 23rd on they no longer fit 32
// bits, and the points saturate instead of wrapping.
TEST_F(CascadeTest, ThirtyRemovalsSaturateThePoints) {
  rig.StartPlaying();
  for (int c = 0; c <= orvo::game::MaxCol; ++c) {
    for (int r = 0; r <= orvo::game::MaxRow; ++r) rig.Cells()(c, r) = 5;
  }
  rig.services.pointsSeen.clear();
  LandPairAt(0, 0);

  EXPECT_EQ(rig.State().Cleared, 30);
  EXPECT_EQ(rig.State().Reactions, 30);
  EXPECT_EQ(rig.State().MaxReactions, 30);
  EXPECT_EQ(rig.State().Points, kMax);
  EXPECT_TRUE(rig.State().Running);
  ExpectBoard({});

  const auto& seen = rig.services.pointsSeen;  // (points after, level used)
  ASSERT_EQ(seen.size(), 60u);
  std::int64_t previous = 0;
  for (std::size_t i = 0; i < seen.size(); ++i) {
    EXPECT_GE(seen[i].first, previous) << "points went down at event " << i;
    previous = seen[i].first;
  }
  // Event 2j is merge j + 1 (two 5s, exponent 5); event 2j + 1 is removal j + 1.
  const auto gained = [&](std::size_t i) {
    return static_cast<std::int64_t>(seen[i].first) - (i == 0 ? 0 : seen[i - 1].first);
  };
  const auto levelOf = [&](std::size_t i) { return static_cast<std::int64_t>(seen[i].second); };
  EXPECT_EQ(gained(0), 6) << "1.1^5 + 4 at level 1";
  EXPECT_EQ(gained(1), 1000 + (levelOf(1) + 100) * 1);
  EXPECT_EQ(gained(3), 2000 + (levelOf(3) + 100) * 2);
  EXPECT_EQ(gained(5), 4000 + (levelOf(5) + 100) * 3);
  EXPECT_EQ(gained(2), std::llround(std::pow(1.2, 5) + 4.0 * static_cast<double>(levelOf(2))));
}

}  // namespace
}  // namespace orvo_test
