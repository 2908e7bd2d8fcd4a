// The Start/Stop/Exit captions, the game loop they run, and the press colours.
#include <gtest/gtest.h>

#include <functional>

#include "tests/app/fake_services.h"

namespace orvo_test {
namespace {

using namespace orvo::app;

class ProtocolTest : public ::testing::Test {
 protected:
  AppRig rig;
  const orvo::game::LabelState& Start() { return rig.Label(Control::lblAction0); }
  const orvo::game::LabelState& Exit() { return rig.Label(Control::lblAction1); }
};

TEST_F(ProtocolTest, LoopEnteredWhileStoppedDoesNothing) {
  rig.State().Running = false;
  rig.app.GameLoop();
  EXPECT_EQ(rig.host.processCalls, 0);
}

// A Start click resets the game, brings in a pair and runs the whole game
// inside the click; a Stop click from the loop's event processing ends it.
TEST_F(ProtocolTest, StartRunsTheGameInsideTheClick) {
  rig.State().Points = 4321;
  rig.Cells()(0, 5) = 3;
  bool checked = false;
  rig.host.batches.push_back([&] {
    checked = true;
    EXPECT_TRUE(rig.State().Running);
    EXPECT_TRUE(rig.State().PairActive);
    EXPECT_EQ(Start().Caption, "Stop");
    EXPECT_EQ(Start().Tag, "stop");
    EXPECT_EQ(rig.State().Points, 0) << "a new game";
    EXPECT_EQ(rig.Cells()(0, 5), 0);
    EXPECT_EQ(rig.State().PairX, 9);
    EXPECT_EQ(rig.State().PairY, 2);
    EXPECT_GT(rig.Cells()(9, 2), 0);
    rig.app.lblAction_Click(0);  // Stop
  });
  rig.app.lblAction_Click(0);
  EXPECT_TRUE(checked);
  EXPECT_EQ(rig.host.processCalls, 1);
  EXPECT_EQ(rig.host.unscriptedCalls, 0);
  EXPECT_FALSE(rig.State().Running);
  EXPECT_EQ(Start().Caption, "Start");
  EXPECT_EQ(Start().Tag, "start");
  EXPECT_EQ(rig.host.reseeds, 1);
  // Stop leaves the board and the pair as they were.
  EXPECT_TRUE(rig.State().PairActive);
  EXPECT_GT(rig.Cells()(9, 2), 0);
  // The caption and tag change before the game is reset.
  ASSERT_GE(rig.host.changes.size(), 2u);
  EXPECT_EQ(rig.host.changes[0], std::make_pair(Control::lblAction0, ControlChange::Caption));
  EXPECT_EQ(rig.host.changes[1], std::make_pair(Control::lblAction0, ControlChange::Tag));
}

// Each turn handles the keys, lets the pair slide when due, then processes
// the window's events.
TEST_F(ProtocolTest, EachTurnRunsKeysThenSlide) {
  rig.host.batches.push_back([&] {
    // Turn 1 at the start tick: Left moved the pair, the slide was not due.
    EXPECT_EQ(rig.State().PairX, 8);
    rig.host.now += 961;  // the slide is due in the next turn
    rig.app.Form_KeyUp(Key::Left);
  });
  rig.host.batches.push_back([&] {
    EXPECT_EQ(rig.State().PairX, 7) << "the timed slide stepped once";
    rig.app.lblAction_Click(0);
  });
  rig.app.Form_KeyDown(Key::Left);
  rig.app.lblAction_Click(0);
  EXPECT_EQ(rig.host.processCalls, 2);
}

TEST_F(ProtocolTest, TagsAreComparedInLowerCase) {
  rig.SetTag(Control::lblAction0, "START");
  rig.host.batches.push_back([&] {
    EXPECT_TRUE(rig.State().Running);
    rig.SetTag(Control::lblAction0, "sToP");
    rig.app.lblAction_Click(0);
    EXPECT_FALSE(rig.State().Running);
    EXPECT_EQ(Start().Caption, "Start");
  });
  rig.app.lblAction_Click(0);
  EXPECT_EQ(rig.host.processCalls, 1);
  EXPECT_EQ(rig.host.unscriptedCalls, 0);

  rig.SetTag(Control::lblAction1, "End");
  EXPECT_THROW(rig.app.lblAction_Click(1), ProgramEnded);
}

TEST_F(ProtocolTest, UnknownTagDoesNothing) {
  rig.SetTag(Control::lblAction0, "pause");
  rig.host.changes.clear();
  rig.app.lblAction_Click(0);
  rig.app.lblAction_Click(7);
  rig.app.lblAction_Click(-1);
  EXPECT_FALSE(rig.State().Running);
  EXPECT_EQ(rig.host.processCalls, 0);
  EXPECT_TRUE(rig.host.changes.empty());
}

// The protocol follows the tag, not the index.
TEST_F(ProtocolTest, WhicheverElementCarriesStartStartsTheGame) {
  rig.SetTag(Control::lblAction0, "end");
  rig.SetTag(Control::lblAction1, "start");
  rig.host.batches.push_back([&] {
    EXPECT_TRUE(rig.State().Running);
    EXPECT_EQ(Exit().Caption, "Stop");
    EXPECT_EQ(Exit().Tag, "stop");
    EXPECT_EQ(Start().Caption, "Start");
    rig.app.lblAction_Click(1);
  });
  rig.app.lblAction_Click(1);
  EXPECT_EQ(Exit().Caption, "Start");
  EXPECT_EQ(rig.host.processCalls, 1);
}

TEST_F(ProtocolTest, StartWhileRunningIsIgnored) {
  rig.host.batches.push_back([&] {
    rig.State().Points = 55;
    rig.SetTag(Control::lblAction1, "start");
    rig.app.lblAction_Click(1);  // a second "start" while the game runs
    EXPECT_EQ(rig.State().Points, 55);
    EXPECT_EQ(Exit().Caption, "Exit");
    EXPECT_EQ(Exit().Tag, "start");
    rig.app.lblAction_Click(0);
  });
  rig.app.lblAction_Click(0);
  EXPECT_EQ(rig.host.processCalls, 1);
  EXPECT_EQ(rig.host.reseeds, 1);
}

// A Stop and a Start in one batch start a game inside the running loop. At
// kMaxNestedGameLoops loops the Start is ignored, changes nothing and is
// reported to the host; the loops then unwind, and the count with them.
TEST_F(ProtocolTest, NestedStartsStopAtTheBound) {
  int depth = 1;
  int deepest = 0;
  std::size_t changesBefore = 0;
  int reseedsBefore = 0;
  std::function<void()> stopAndStart = [&] {
    rig.app.lblAction_Click(0);  // Stop
    if (depth == kMaxNestedGameLoops) {
      deepest = depth;
      changesBefore = rig.host.changes.size();
      reseedsBefore = rig.host.reseeds;
    }
    ++depth;
    rig.host.batches.push_back(stopAndStart);
    rig.app.lblAction_Click(0);  // Start: one loop deeper, or ignored
    --depth;
  };
  rig.host.batches.push_back(stopAndStart);
  rig.app.lblAction_Click(0);

  EXPECT_EQ(deepest, kMaxNestedGameLoops);
  EXPECT_EQ(rig.host.startsIgnored, 1);
  EXPECT_EQ(rig.host.processCalls, kMaxNestedGameLoops);
  // The ignored click set no caption or tag, started no game.
  EXPECT_EQ(rig.host.changes.size(), changesBefore);
  EXPECT_EQ(rig.host.reseeds, reseedsBefore);
  EXPECT_EQ(rig.host.reseeds, kMaxNestedGameLoops);
  EXPECT_FALSE(rig.State().Running);
  EXPECT_EQ(Start().Caption, "Start");
  EXPECT_EQ(Start().Tag, "start");

  // Every loop has returned: a new game starts as usual.
  rig.host.batches.clear();
  rig.host.batches.push_back([&] { rig.app.lblAction_Click(0); });
  rig.app.lblAction_Click(0);
  EXPECT_EQ(rig.host.reseeds, kMaxNestedGameLoops + 1);
  EXPECT_EQ(rig.host.startsIgnored, 1);
}

// A program ended from inside nested loops unwinds them all; their count goes
// with them.
TEST_F(ProtocolTest, LoopsLeftByEndingTheProgramAreNotCounted) {
  for (int games = 1; games < kMaxNestedGameLoops; ++games) {
    rig.host.batches.push_back([&] {
      rig.app.lblAction_Click(0);
      rig.app.lblAction_Click(0);
    });
  }
  rig.host.batches.push_back([&] { rig.app.lblAction_Click(1); });  // Exit
  EXPECT_THROW(rig.app.lblAction_Click(0), ProgramEnded);
  EXPECT_EQ(rig.host.reseeds, kMaxNestedGameLoops);

  // Had the loops stayed counted, this Start would be ignored.
  rig.SetTag(Control::lblAction0, "start");
  rig.host.batches.clear();
  rig.host.batches.push_back([&] {
    rig.app.lblAction_Click(0);
    rig.app.lblAction_Click(0);  // a second game inside the first
  });
  rig.app.lblAction_Click(0);
  EXPECT_EQ(rig.host.startsIgnored, 0);
  EXPECT_EQ(rig.host.reseeds, kMaxNestedGameLoops + 2);
}

// The key table is shared by all games: an Enter press made between games
// acts in the first turn of the next one.
TEST_F(ProtocolTest, KeyTableSurvivesANewGame) {
  rig.app.Form_KeyDown(Key::Enter);
  rig.app.Form_KeyUp(Key::Enter);
  rig.Keys()[Key::Down].NextTime = 12345;
  rig.host.batches.push_back([&] {
    EXPECT_FALSE(rig.Keys()[Key::Enter].Pressed);
    EXPECT_EQ(rig.Keys()[Key::Enter].NextTime, 101000);
    EXPECT_EQ(rig.Keys()[Key::Down].NextTime, 12345);
    rig.app.lblAction_Click(0);
  });
  rig.app.lblAction_Click(0);
}

TEST_F(ProtocolTest, ExitDuringAGameEndsTheProgramAtOnce) {
  rig.host.batches.push_back([&] { rig.app.lblAction_Click(1); });
  rig.host.batches.push_back([&] { ADD_FAILURE() << "a turn ran after Exit"; });
  try {
    rig.app.lblAction_Click(0);
    ADD_FAILURE() << "the program did not end";
  } catch (const ProgramEnded& e) {
    EXPECT_EQ(e.status, 0);
  }
  EXPECT_FALSE(rig.State().Running);
  EXPECT_EQ(rig.host.processCalls, 1);
}

TEST_F(ProtocolTest, ClosingTheWindowStopsTheGameAndEnds) {
  rig.State().Running = true;
  EXPECT_THROW(rig.app.Form_Unload(), ProgramEnded);
  EXPECT_FALSE(rig.State().Running);
}

TEST_F(ProtocolTest, PressColours) {
  for (int index : {0, 1}) {
    const Control c = index == 0 ? Control::lblAction0 : Control::lblAction1;
    rig.host.changes.clear();
    rig.app.lblAction_MouseDown(index);
    EXPECT_EQ(rig.Label(c).TextColor, orvo::gfx::Rgb(240, 160, 240));
    rig.app.lblAction_MouseUp(index);
    EXPECT_EQ(rig.Label(c).TextColor, orvo::gfx::Rgb(128, 64, 240));
    const std::vector<std::pair<Control, ControlChange>> want = {{c, ControlChange::Color},
                                                                 {c, ControlChange::Color}};
    EXPECT_EQ(rig.host.changes, want);
  }
  rig.host.changes.clear();
  rig.app.lblAction_MouseDown(2);
  rig.app.lblAction_MouseUp(-1);
  EXPECT_TRUE(rig.host.changes.empty());
}

}  // namespace
}  // namespace orvo_test
