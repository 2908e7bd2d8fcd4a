// Wait, and the earliest tick at which a loop turn can do anything.
#include <gtest/gtest.h>

#include "tests/app/fake_services.h"

namespace orvo_test {
namespace {

using namespace orvo::app;

TEST(WaitTest, WaitsAtLeastTheGivenTime) {
  AppRig rig;
  rig.host.now = 5000;
  rig.host.Wait(250);
  ASSERT_EQ(rig.host.waits.size(), 1u);
  EXPECT_EQ(rig.host.waits[0], std::make_pair(std::int64_t{5250}, 250));
  EXPECT_EQ(rig.host.now, 5250);
  EXPECT_EQ(rig.host.processCalls, 0) << "a busy wait handles no window events";
}

TEST(WaitTest, ZeroOrNegativeReturnsAtOnce) {
  AppRig rig;
  rig.host.now = 5000;
  rig.host.Wait(0);
  rig.host.Wait(-7);
  rig.host.Wait(std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(rig.host.now, 5000);
  for (const auto& [deadline, ms] : rig.host.waits) EXPECT_LE(deadline, 5000) << ms;
}

// NextDue is when something can first happen: one tick earlier a turn does
// nothing, at NextDue it acts.
class NextDueTest : public ::testing::Test {
 protected:
  AppRig rig;
  // Runs one turn's work at `at` and says whether the pair moved.
  bool TurnMoves(std::int64_t at) {
    const int x = rig.State().PairX;
    const int y = rig.State().PairY;
    rig.host.now = at;
    rig.app.ProcessKeys();
    rig.app.Rules().SlidePair();
    return rig.State().PairX != x || rig.State().PairY != y;
  }
};

TEST_F(NextDueTest, TheTimedSlide) {
  rig.PairAt(5, 2);
  rig.State().LastSlideTime = 1000;
  const std::int64_t due = rig.app.NextDue();
  EXPECT_EQ(due, 1961);
  EXPECT_FALSE(TurnMoves(due - 1));
  EXPECT_TRUE(TurnMoves(due));
}

TEST_F(NextDueTest, AHeldKeyComesFirst) {
  rig.PairAt(5, 2);
  rig.State().LastSlideTime = 1000;
  rig.app.Form_KeyDown(Key::Up);
  rig.Keys()[Key::Up].NextTime = 1500;
  rig.app.Form_KeyDown(Key{'A'});  // not a game key
  rig.Keys()[Key{'A'}].NextTime = 1100;
  const std::int64_t due = rig.app.NextDue();
  EXPECT_EQ(due, 1501);
  EXPECT_FALSE(TurnMoves(due - 1));
  EXPECT_TRUE(TurnMoves(due));
  EXPECT_EQ(rig.State().PairY, 1);
}

TEST_F(NextDueTest, ReleasedKeysDoNotCount) {
  rig.PairAt(5, 2);
  rig.State().LastSlideTime = 1000;
  rig.Keys()[Key::Left].NextTime = 1200;  // not pressed
  EXPECT_EQ(rig.app.NextDue(), 1961);
}

TEST_F(NextDueTest, NothingDueWithoutAPair) {
  rig.PairAt(5, 2);
  rig.State().PairActive = false;
  rig.app.Form_KeyDown(Key::Left);
  EXPECT_EQ(rig.app.NextDue(), kNothingDue);
}

TEST_F(NextDueTest, EscapeIsDueAtOnce) {
  rig.PairAt(5, 2);
  rig.State().PairActive = false;
  rig.host.now = 70000;
  rig.app.Form_KeyDown(Key::Escape);
  EXPECT_LE(rig.app.NextDue(), 70000);
}

// A game that ended in this turn (game over, Stop) leaves the loop after the
// event processing: a host must not sleep there, and a replay must not skip
// turns that will never come.
TEST_F(NextDueTest, DueAtOnceWhenTheGameHasEnded) {
  rig.PairAt(5, 2);
  rig.State().PairActive = false;
  rig.State().Running = false;
  rig.host.now = 70000;
  EXPECT_LE(rig.app.NextDue(), 70000);
  rig.State().PairActive = true;
  EXPECT_LE(rig.app.NextDue(), 70000);
}

// The loop hands NextDue to the host at every event processing.
TEST_F(NextDueTest, LoopPassesItToTheHost) {
  rig.host.batches.push_back([&] { rig.app.lblAction_Click(0); });
  rig.app.lblAction_Click(0);
  ASSERT_EQ(rig.host.nextDues.size(), 1u);
  EXPECT_EQ(rig.host.nextDues[0], 100000 + 960 + 1);
}

}  // namespace
}  // namespace orvo_test
