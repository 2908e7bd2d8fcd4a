// The clock rules of the scenario engine, against a stand-in window whose
// Start click runs a loop that processes events each turn, as the game does.
#include "tools/replay/scenario_engine.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/shell.h"
#include "tools/replay/replay_error.h"

namespace orvo::replay {
namespace {

// A window with the Start/Stop protocol of the game's caption, a key (99)
// whose handler waits 500 ms and a key (98) whose handler fails. Its loop's
// turns are all due unless `dueAt` says when the one turn that acts comes;
// each turn may wait `turnWait` ms.
class FakeWindow : public ReplayWindow {
 public:
  FakeWindow(ReplayPlatform& host, app::Shell& shell) : host_(host), shell_(&shell) {}

  void Deliver(const Event& e) override {
    static const char* const kNames[] = {"keydown",   "keyup",   "click",
                                         "mousedown", "mouseup", "pointerdown",
                                         "pointerup", "paint",   "close"};
    std::string name = kNames[static_cast<int>(e.kind)];
    if (e.kind != EventKind::Paint && e.kind != EventKind::Close) name += std::to_string(e.arg);
    Log(name);
    if (e.kind == EventKind::Click) Click();
    if (e.kind == EventKind::KeyDown && e.arg == 99) shell_->WaitUntil(host_.Clock() + 500, 500);
    if (e.kind == EventKind::KeyDown && e.arg == 98) throw ReplayError("handler failed");
    if (e.kind == EventKind::Close) host_.EndProgram(0);
  }

  void Apply(const Command& c) override {
    if (c.kind == CommandKind::Dump) Log("dump");
    if (c.kind == CommandKind::Land) shell_->WaitUntil(host_.Clock() + 300, 300);
  }

  std::vector<std::string> log;
  int turns = 0;
  std::int64_t dueAt = kEveryTurn;
  std::int32_t turnWait = 0;
  static constexpr std::int64_t kEveryTurn = -1;

 private:
  void Click() {
    if (!start_tag_) {
      running_ = false;
      start_tag_ = true;
      return;
    }
    if (running_) return;
    start_tag_ = false;
    running_ = true;
    Log("loop");
    while (running_) {
      ++turns;
      if (turnWait > 0) shell_->WaitUntil(host_.Clock() + turnWait, turnWait);
      if (dueAt != kEveryTurn && host_.Clock() >= dueAt) {
        Log("due");
        dueAt = app::kNothingDue;
      }
      shell_->ProcessEvents(dueAt == kEveryTurn ? host_.Clock() + 1 : dueAt);
    }
    Log("loop end");
  }

  void Log(const std::string& what) { log.push_back(what + "@" + std::to_string(host_.Clock())); }

  ReplayPlatform& host_;
  app::Shell* shell_;
  bool running_ = false;
  bool start_tag_ = true;
};

struct Replay {
  explicit Replay(const std::string& scenario) : in(scenario), engine(reader, host, window) {
    shell.SetEventPump(&engine);
  }
  // The exit status of a replay that ends normally.
  int Play() {
    try {
      engine.Run();
    } catch (const ProgramEnd& end) {
      return end.status;
    }
    return -1;
  }
  // The line and message of a replay that fails.
  std::string Failure() {
    try {
      engine.Run();
    } catch (const ReplayError& e) {
      int line = e.Line() == ReplayError::kCurrentLine ? engine.CurrentLine() : e.Line();
      return std::to_string(line) + ": " + e.what();
    } catch (const ProgramEnd&) {
      return "ended";
    }
    return "";
  }

  std::string out;
  LineWriter writer{&out};
  ReplayPlatform host{writer};
  std::istringstream in;
  ScenarioReader reader{in};
  app::Shell shell{host};
  FakeWindow window{host, shell};
  ScenarioEngine engine;
};

using Log = std::vector<std::string>;

TEST(ScenarioEngine, WithoutALoopEventsAreDeliveredAtTheirOwnTimes) {
  Replay r(
      "dump\n"
      "at 1300 mousedown 0\n"
      "at 1200 mouseup 1\n"  // queued later, due earlier
      "at 1300 mouseup 0\n"  // equal times keep the file order
      "run 1250\n"
      "dump\n"
      "run 1250\n"  // at the clock: nothing happens
      "run 1100\n"  // before it: nothing either
      "dump\n"
      "run +100\n"
      "dump\n"
      "at 50 paint\n"  // long past: delivered at the next run, at the clock
      "run +1\n"
      "dump\n");
  EXPECT_EQ(r.Play(), 0);
  EXPECT_EQ(r.window.log,
            (Log{"dump@1000", "mouseup1@1200", "dump@1250", "dump@1250", "mousedown0@1300",
                 "mouseup0@1300", "dump@1350", "paint@1350", "dump@1351"}));
}

TEST(ScenarioEngine, TickSetsTheClockOnlyBeforeTheFirstRun) {
  Replay before("tick 5\ndump\nrun 7\ndump\n");
  EXPECT_EQ(before.Play(), 0);
  EXPECT_EQ(before.window.log, (Log{"dump@5", "dump@7"}));

  // A run that does nothing still counts.
  Replay after("run 500\n\ntick 5\n");
  EXPECT_EQ(after.Failure(), "3: tick after the first run");
}

TEST(ScenarioEngine, LoopTurnsTakeOneMillisecondAndReachTheTarget) {
  Replay r(
      "at 1100 click 0\n"
      "run 1100\n"
      "dump\n"
      "run 1105\n"
      "dump\n");
  // The scenario ends in the middle of the game.
  EXPECT_EQ(r.Play(), 0);
  EXPECT_EQ(r.window.log, (Log{"click0@1100", "loop@1100", "dump@1101", "dump@1105"}));
  EXPECT_EQ(r.window.turns, 5);
}

TEST(ScenarioEngine, EventsQueuedInALoopForPastTimesComeAtTheNextProcessing) {
  Replay r(
      "at 1100 click 0\n"
      "run 1110\n"
      "at 1105 mousedown 0\n"
      "at 1110 mouseup 0\n"
      "dump\n"
      "run 1120\n");
  EXPECT_EQ(r.Play(), 0);
  EXPECT_EQ(r.window.log,
            (Log{"click0@1100", "loop@1100", "dump@1110", "mousedown0@1111", "mouseup0@1111"}));
}

TEST(ScenarioEngine, EventsThatFallDueDuringAHandlersWaitFollowInTheSameProcessing) {
  Replay r(
      "at 1100 click 0\n"
      "at 1200 keydown 99\n"
      "at 1400 mousedown 1\n"
      "at 1800 mouseup 1\n"
      "run 1750\n"
      "dump\n");
  EXPECT_EQ(r.Play(), 0);
  EXPECT_EQ(r.window.log,
            (Log{"click0@1100", "loop@1100", "keydown99@1200", "mousedown1@1700", "dump@1750"}));
}

TEST(ScenarioEngine, WaitsOfCommandsMoveTheClockEvenWithoutALoop) {
  Replay r("land\ndump\nrun 1200\ndump\nland\nrun 1400\ndump\n");
  EXPECT_EQ(r.Play(), 0);
  EXPECT_EQ(r.window.log, (Log{"dump@1300", "dump@1300", "dump@1600"}));
}

TEST(ScenarioEngine, StopAndStartInOneBatchNestALoop) {
  Replay r(
      "at 1100 click 0\n"
      "at 1200 click 0\n"  // Stop
      "at 1200 click 0\n"  // Start, inside the first loop's event processing
      "at 1300 click 0\n"  // Stop the inner game
      "run 1300\n"
      // Queued in the inner loop's last processing: the outer processing
      // delivers it as soon as the inner loop has returned.
      "at 1250 mousedown 0\n"
      "run 1400\n"
      "dump\n");
  EXPECT_EQ(r.Play(), 0);
  EXPECT_EQ(r.window.log,
            (Log{"click0@1100", "loop@1100", "click0@1200", "click0@1200", "loop@1200",
                 "click0@1300", "loop end@1300", "mousedown0@1300", "loop end@1300", "dump@1400"}));
}

// Turns before the next due turn, event or target do nothing, so they take no
// time: the log is that of 1 ms turns, with only the turns that can act.
TEST(ScenarioEngine, IdleTurnsAreSkipped) {
  const std::string scenario =
      "at 1100 click 0\n"
      "at 5000 mousedown 0\n"
      "at 5000 click 0\n"  // Stop
      "at 5000 click 0\n"  // and Start: a nested loop
      "run 40000\n"
      "dump\n"
      "at 40100 mouseup 0\n"
      "at 40100 click 0\n"
      "run +1000\n"
      "dump\n";
  Replay every(scenario);
  EXPECT_EQ(every.Play(), 0);
  Replay idle(scenario);
  idle.window.dueAt = app::kNothingDue;
  EXPECT_EQ(idle.Play(), 0);
  EXPECT_EQ(idle.window.log, every.window.log);
  EXPECT_EQ(idle.window.log,
            (Log{"click0@1100", "loop@1100", "mousedown0@5000", "click0@5000", "click0@5000",
                 "loop@5000", "dump@40000", "mouseup0@40100", "click0@40100", "loop end@40100",
                 "loop end@40100", "dump@41000"}));
  EXPECT_GE(every.window.turns, 39000);
  EXPECT_LE(idle.window.turns, 8);

  // About 95 years of virtual time pass in a few turns.
  Replay years("at 1100 click 0\nrun 3000000000000\ndump\nrun +1\ndump\n");
  years.window.dueAt = app::kNothingDue;
  EXPECT_EQ(years.Play(), 0);
  EXPECT_EQ(years.window.log,
            (Log{"click0@1100", "loop@1100", "dump@3000000000000", "dump@3000000000001"}));
  EXPECT_LE(years.window.turns, 3);
}

TEST(ScenarioEngine, TheDueTurnRunsAtItsTick) {
  Replay r(
      "at 1100 click 0\n"
      "at 2000 paint\n"
      "run 10000\n"
      "dump\n");
  r.window.dueAt = 3000;
  EXPECT_EQ(r.Play(), 0);
  EXPECT_EQ(r.window.log,
            (Log{"click0@1100", "loop@1100", "paint@2000", "due@3000", "dump@10000"}));
  EXPECT_EQ(r.window.turns, 3);  // at 1100, at the paint, at 3000
}

// The clock never passes kMaxTime (2^53 - 1), whatever moves it.
TEST(ScenarioEngine, TheClockStopsAtTheLargestTime) {
  Replay relative("tick 9007199254740991\nrun +0\ndump\nrun +1\ndump\n");
  EXPECT_EQ(relative.Failure(), "4: clock out of range (0 to 9007199254740991): 9007199254740992");
  EXPECT_EQ(relative.window.log, (Log{"dump@9007199254740991"}));

  Replay far("run +9007199254740991\n");
  EXPECT_EQ(far.Failure(), "1: clock out of range (0 to 9007199254740991): 9007199254741991");

  // A handler's wait past it, with no loop running.
  Replay wait("tick 9007199254740000\nat 9007199254740900 keydown 99\nrun 9007199254740991\n");
  EXPECT_EQ(wait.Failure(), "3: clock out of range (0 to 9007199254740991): 9007199254741400");

  // A turn's wait ends on it; the loop's next millisecond would pass it.
  Replay turn(
      "tick 9007199254739991\n"
      "at 9007199254739991 click 0\n"
      "run 9007199254740991\n"
      "dump\n");
  turn.window.turnWait = 1000;
  EXPECT_EQ(turn.Failure(), "3: clock out of range (0 to 9007199254740991): 9007199254740992");
  EXPECT_EQ(turn.host.Clock(), 9007199254740991);

  // Reaching it exactly is fine.
  Replay exact("at 9007199254740991 paint\nrun 9007199254740991\ndump\n");
  EXPECT_EQ(exact.Play(), 0);
  EXPECT_EQ(exact.window.log, (Log{"paint@9007199254740991", "dump@9007199254740991"}));
}

// The fuzzing harness bounds the turns that act; idle turns never count.
TEST(ScenarioEngine, DueTurnLimit) {
  Replay busy("at 1100 click 0\nrun 2000\n");
  busy.engine.LimitDueTurns(50);
  EXPECT_EQ(busy.Failure(), "2: more than 50 loop turns with something due");
  EXPECT_EQ(busy.window.turns, 51);

  Replay idle("at 1100 click 0\nat 1200 click 0\nat 1200 click 0\nrun 9007199254740991\ndump\n");
  idle.window.dueAt = app::kNothingDue;
  idle.engine.LimitDueTurns(1);
  EXPECT_EQ(idle.Play(), 0);
}

TEST(ScenarioEngine, CloseEndsTheProgramFromInsideTheLoop) {
  Replay r(
      "at 1100 click 0\n"
      "at 1150 close\n"
      "at 1150 mousedown 0\n"
      "run 2000\n"
      "dump\n");
  EXPECT_EQ(r.Play(), 0);
  EXPECT_EQ(r.window.log, (Log{"click0@1100", "loop@1100", "close@1150"}));
}

TEST(ScenarioEngine, FailuresNameTheRunWhoseTimeWasPassing) {
  Replay idle("at 1100 keydown 98\n# comment\nrun 1200\ndump\n");
  EXPECT_EQ(idle.Failure(), "3: handler failed");

  Replay looping(
      "at 1100 click 0\n"
      "run 1150\n"
      "at 1160 keydown 98\n"
      "run 1200\n");
  EXPECT_EQ(looping.Failure(), "4: handler failed");

  Replay syntax("at 1100 click 0\nrun 1150\ndump\nset 1 2\n");
  EXPECT_EQ(syntax.Failure(), "4: usage: set C R V");
  EXPECT_EQ(syntax.window.log, (Log{"click0@1100", "loop@1100", "dump@1150"}));
}

}  // namespace
}  // namespace orvo::replay
