// The scenario engine: executes the commands, keeps the queue of window
// events and moves the virtual clock. It is re-entrant: a delivered Start
// click runs a whole game loop whose event processing calls back into it.
#pragma once

#include <cstdint>
#include <queue>
#include <vector>

#include "tools/replay/command.h"
#include "tools/replay/replay_platform.h"
#include "tools/replay/scenario_reader.h"

namespace orvo::replay {

// The window as the scenario reaches it.
class ReplayWindow {
 public:
  virtual ~ReplayWindow() = default;
  // Hands a window event to its handler.
  virtual void Deliver(const Event& event) = 0;
  // Carries out `set`, `let`, `land`, `dump` and `snapshot`.
  virtual void Apply(const Command& command) = 0;
};

class ScenarioEngine : public app::EventPump {
 public:
  ScenarioEngine(ScenarioReader& reader, ReplayPlatform& host, ReplayWindow& window);

  // Runs the scenario while no game loop runs: executes commands, and at
  // each `run` delivers the events due up to its target. Ends only by
  // throwing (ProgramEnd at the end of the scenario or a closed window,
  // ReplayError on a failure).
  [[noreturn]] void Run();

  // The event processing of a running game loop: one turn's millisecond,
  // the due events, and the commands once the run target is reached. When
  // the turns before `nextDue` could do nothing (no event falls due and no
  // target is reached before it), the clock goes straight to the first turn
  // that can: the output is the same, the idle turns take no time.
  void ProcessEvents(std::int64_t nextDue) override;

  // Bounds the loop turns that find something due (0: no bound); one more
  // fails the replay. Idle turns never count. For the fuzzing harness, where
  // a key held down for years of virtual time would otherwise act on every
  // interval until the run's target.
  void LimitDueTurns(std::uint64_t limit) { due_turn_limit_ = limit; }

  // The line of the command executing, or of the `run` whose time is passing.
  std::int64_t CurrentLine() const { return line_; }

 private:
  struct Pending {
    std::int64_t time;
    std::uint64_t order;  // file order among equal times
    Event event;
  };
  struct Later {
    bool operator()(const Pending& a, const Pending& b) const {
      return a.time != b.time ? a.time > b.time : a.order > b.order;
    }
  };

  // Executes commands up to a `run` whose target lies after the clock.
  void ExecuteCommands();
  void Execute(const Command& command);
  // Delivers every queued event due by the clock, in order.
  void DeliverDue();
  // The tick of the next event processing of a loop whose next turn can act
  // at `nextDue` at the earliest.
  std::int64_t NextProcessingTick(std::int64_t nextDue) const;

  ScenarioReader& reader_;
  ReplayPlatform& host_;
  ReplayWindow& window_;
  std::priority_queue<Pending, std::vector<Pending>, Later> queue_;
  std::uint64_t next_order_ = 0;
  std::int64_t target_ = 0;
  bool run_seen_ = false;
  std::int64_t line_ = 0;
  std::uint64_t due_turns_ = 0;
  std::uint64_t due_turn_limit_ = 0;
};

}  // namespace orvo::replay
