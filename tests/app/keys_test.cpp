// The key table and the per-turn key handling: which keys act, when, and in
// what order.
#include <algorithm>
#include <limits>

#include <gtest/gtest.h>

#include "tests/app/fake_services.h"

namespace orvo_test {
namespace {

using namespace orvo::app;

bool SameTable(const KeyTable& a, const KeyTable& b) {
  return std::equal(a.begin(), a.end(), b.begin(), [](const KeyState& x, const KeyState& y) {
    return x.Pressed == y.Pressed && x.NextTime == y.NextTime;
  });
}

TEST(KeyTableTest, StartsCleared) {
  AppRig rig;
  for (const KeyState& k : rig.Keys()) {
    EXPECT_FALSE(k.Pressed);
    EXPECT_EQ(k.NextTime, 0);
  }
}

TEST(KeyTableTest, DownAndUpSetPressedOnly) {
  AppRig rig;
  rig.Keys()[Key::Up].NextTime = 555;
  rig.app.Form_KeyDown(Key::Up);
  EXPECT_TRUE(rig.Keys()[Key::Up].Pressed);
  EXPECT_EQ(rig.Keys()[Key::Up].NextTime, 555);
  rig.app.Form_KeyUp(Key::Up);
  EXPECT_FALSE(rig.Keys()[Key::Up].Pressed);
  EXPECT_EQ(rig.Keys()[Key::Up].NextTime, 555);
  // Any code of the table is recorded, used by the game or not.
  rig.app.Form_KeyDown(Key{0});
  rig.app.Form_KeyDown(Key{255});
  EXPECT_TRUE(rig.Keys()[Key{0}].Pressed);
  EXPECT_TRUE(rig.Keys()[Key{255}].Pressed);
}

TEST(KeyTableTest, EnterPressStaysUntilActedOn) {
  AppRig rig;
  rig.app.Form_KeyDown(Key::Enter);
  rig.app.Form_KeyUp(Key::Enter);
  EXPECT_TRUE(rig.Keys()[Key::Enter].Pressed);
}

TEST(KeyTableTest, CodesOutsideTheTableAreIgnored) {
  AppRig rig;
  const KeyTable before = rig.Keys();
  for (int code : {-1, 256, 1000, 0x10000 + CodeOf(Key::Up), std::numeric_limits<int>::min(),
                   std::numeric_limits<int>::max()}) {
    rig.app.Form_KeyDown(Key{code});
    rig.app.Form_KeyUp(Key{code});
  }
  EXPECT_TRUE(SameTable(before, rig.Keys()));
}

class ProcessKeysTest : public ::testing::Test {
 protected:
  AppRig rig;
  void Turn(std::int64_t at) {
    rig.host.now = at;
    rig.app.ProcessKeys();
  }
  int Row() { return rig.State().PairY; }
  int Column() { return rig.State().PairX; }
};

// A key pressed for the first time acts in the next turn; Up and Down repeat
// every 200 - 2 x Level ms, counted from the turn in which they were due.
TEST_F(ProcessKeysTest, UpDownRepeatInterval) {
  struct Case {
    int level;
    std::int64_t interval;
  };
  for (const Case c : {Case{1, 198}, Case{10, 180}, Case{60, 80}, Case{99, 2}}) {
    rig.PairAt(5, 0, c.level);
    rig.Keys() = KeyTable{};
    const std::int64_t t0 = 200000;
    rig.app.Form_KeyDown(Key::Down);
    Turn(t0);
    EXPECT_EQ(Row(), 1) << "level " << c.level;
    EXPECT_EQ(rig.Keys()[Key::Down].NextTime, t0 + c.interval);
    Turn(t0 + c.interval);
    EXPECT_EQ(Row(), 1) << "level " << c.level << ": not yet due";
    Turn(t0 + c.interval + 1);
    EXPECT_EQ(Row(), 2) << "level " << c.level;
    EXPECT_EQ(rig.Keys()[Key::Down].NextTime, t0 + 2 * c.interval + 1);
  }
}

// From level 100 on the interval is 0 or negative: the key acts in every
// turn in which the clock has passed its last time, or in every turn.
TEST_F(ProcessKeysTest, UpDownWithoutLowerBound) {
  rig.PairAt(5, 0, 100);
  rig.app.Form_KeyDown(Key::Down);
  Turn(300000);
  EXPECT_EQ(Row(), 1);
  EXPECT_EQ(rig.Keys()[Key::Down].NextTime, 300000);
  Turn(300000);
  EXPECT_EQ(Row(), 1);
  Turn(300001);
  EXPECT_EQ(Row(), 2);

  rig.PairAt(5, 0, 150);
  rig.Keys() = KeyTable{};
  rig.app.Form_KeyDown(Key::Down);
  Turn(300000);
  Turn(300000);
  Turn(300000);
  EXPECT_EQ(Row(), 3);
  EXPECT_EQ(rig.Keys()[Key::Down].NextTime, 300000 - 100);
}

TEST_F(ProcessKeysTest, BlockedMoveStillRestartsTheInterval) {
  rig.PairAt(5, 0);
  rig.app.Form_KeyDown(Key::Up);
  Turn(100000);
  EXPECT_EQ(Row(), 0);
  EXPECT_EQ(rig.Keys()[Key::Up].NextTime, 100198);
  EXPECT_TRUE(rig.Keys()[Key::Up].Pressed);
}

TEST_F(ProcessKeysTest, LeftRepeatsEvery100msAndLeavesTheSlideTimer) {
  rig.PairAt(5, 2);
  const std::int64_t slide = rig.State().LastSlideTime;
  rig.app.Form_KeyDown(Key::Left);
  Turn(100000);
  EXPECT_EQ(Column(), 4);
  Turn(100100);
  EXPECT_EQ(Column(), 4);
  Turn(100101);
  EXPECT_EQ(Column(), 3);
  EXPECT_EQ(rig.Keys()[Key::Left].NextTime, 100201);
  EXPECT_EQ(rig.State().LastSlideTime, slide);
}

TEST_F(ProcessKeysTest, EnterWithoutBombsIsConsumedAndLocksOut) {
  rig.PairAt(5, 2);
  rig.app.Form_KeyDown(Key::Enter);
  rig.app.Form_KeyUp(Key::Enter);
  Turn(100000);
  EXPECT_FALSE(rig.Keys()[Key::Enter].Pressed);
  EXPECT_EQ(rig.Keys()[Key::Enter].NextTime, 101000);
  EXPECT_EQ(rig.Cells()(5, 2), 1);
  EXPECT_TRUE(rig.host.waits.empty());

  // Pressed during the lock-out: kept, and acted on once it has passed.
  rig.app.Form_KeyDown(Key::Enter);
  rig.app.Form_KeyUp(Key::Enter);
  Turn(101000);
  EXPECT_TRUE(rig.Keys()[Key::Enter].Pressed);
  Turn(101001);
  EXPECT_FALSE(rig.Keys()[Key::Enter].Pressed);
  EXPECT_EQ(rig.Keys()[Key::Enter].NextTime, 102001);
}

// One clock reading serves the whole turn: the bomb takes over a second,
// yet both new times count from the turn's start. Enter acts before Up, so
// Up moves the new pair.
TEST_F(ProcessKeysTest, BombThenUpInOneTurn) {
  rig.PairAt(3, 4);
  rig.State().Bombs = 1;
  rig.app.Form_KeyDown(Key::Enter);
  rig.app.Form_KeyDown(Key::Up);
  Turn(100000);
  EXPECT_EQ(rig.State().Bombs, 0);
  EXPECT_GE(rig.host.now, 101100) << "six 100 ms frames and the 500 ms pause";
  EXPECT_EQ(rig.Keys()[Key::Enter].NextTime, 101000);
  EXPECT_EQ(rig.Keys()[Key::Up].NextTime, 100198);
  EXPECT_EQ(Column(), 9);
  EXPECT_EQ(Row(), 1) << "the new pair moved up";
  EXPECT_EQ(rig.Cells()(3, 4), 0);
}

// Up and Down held together both act, Up first: at the top row Up is
// refused and Down then moves the pair.
TEST_F(ProcessKeysTest, UpActsBeforeDown) {
  rig.PairAt(5, 0);
  rig.app.Form_KeyDown(Key::Up);
  rig.app.Form_KeyDown(Key::Down);
  Turn(100000);
  EXPECT_EQ(Row(), 1);
  EXPECT_EQ(rig.Keys()[Key::Up].NextTime, 100198);
  EXPECT_EQ(rig.Keys()[Key::Down].NextTime, 100198);
}

TEST_F(ProcessKeysTest, WithoutAPairOnlyEscapeActs) {
  rig.PairAt(5, 2);
  rig.State().PairActive = false;
  for (Key key : {Key::Enter, Key::Up, Key::Down, Key::Left}) rig.app.Form_KeyDown(key);
  const KeyTable before = rig.Keys();
  Turn(100000);
  EXPECT_TRUE(SameTable(before, rig.Keys()));
  EXPECT_EQ(Column(), 5);
  EXPECT_EQ(Row(), 2);
  EXPECT_TRUE(rig.State().Running);
  rig.app.Form_KeyDown(Key::Escape);
  Turn(100001);
  EXPECT_FALSE(rig.State().Running);
}

// Escape stops the game after the rest of the turn and leaves the caption.
TEST_F(ProcessKeysTest, EscapeLetsTheTurnFinish) {
  rig.PairAt(5, 2);
  rig.SetCaption(Control::lblAction0, "Stop");
  rig.SetTag(Control::lblAction0, "stop");
  rig.app.Form_KeyDown(Key::Escape);
  rig.app.Form_KeyDown(Key::Left);
  Turn(100000);
  EXPECT_FALSE(rig.State().Running);
  EXPECT_EQ(Column(), 4) << "Left still acted in this turn";
  EXPECT_TRUE(rig.State().PairActive);
  EXPECT_EQ(rig.Label(Control::lblAction0).Caption, "Stop");
  EXPECT_EQ(rig.Label(Control::lblAction0).Tag, "stop");
}

}  // namespace
}  // namespace orvo_test
