#include "tools/replay/scenario_engine.h"

#include <algorithm>
#include <string>

#include "tools/replay/replay_error.h"

namespace orvo::replay {

ScenarioEngine::ScenarioEngine(ScenarioReader& reader, ReplayPlatform& host, ReplayWindow& window)
    : reader_(reader), host_(host), window_(window) {}

void ScenarioEngine::Run() {
  for (;;) {
    ExecuteCommands();
    // No loop runs here: the clock jumps to each event as it is delivered. A
    // delivered Start click plays a whole game, whose loop may execute further
    // commands and so move the target on.
    while (!queue_.empty() && queue_.top().time <= target_) {
      Pending p = queue_.top();
      queue_.pop();
      if (p.time > host_.Clock()) host_.SetClock(p.time);
      window_.Deliver(p.event);
    }
    if (host_.Clock() < target_) host_.SetClock(target_);
  }
}

void ScenarioEngine::ProcessEvents(std::int64_t nextDue) {
  const std::int64_t tick = NextProcessingTick(nextDue);
  host_.SetClock(tick);
  if (tick >= nextDue && due_turn_limit_ != 0 && ++due_turns_ > due_turn_limit_) {
    throw ReplayError("more than " + std::to_string(due_turn_limit_) +
                      " loop turns with something due");
  }
  DeliverDue();
  if (host_.Clock() >= target_) ExecuteCommands();
}

std::int64_t ScenarioEngine::NextProcessingTick(std::int64_t nextDue) const {
  // Every processing moves the clock by 1 ms first. The clock never passes
  // kMaxTime, so this cannot overflow; SetClock refuses kMaxTime + 1.
  const std::int64_t next = host_.Clock() + 1;
  // The turns before the first of these ticks would find nothing to deliver,
  // no target reached and nothing due, and would change nothing: the loop
  // reads the clock and computes the same nextDue again. Each is at most
  // kMaxTime (targets and event times are), so the jump stays in range.
  std::int64_t first = std::min(nextDue, target_);
  if (!queue_.empty()) first = std::min(first, queue_.top().time);
  return std::max(next, first);
}

void ScenarioEngine::DeliverDue() {
  // Re-read the clock after each event: a Start click returns only when its
  // game is over, and whatever has fallen due meanwhile goes next.
  while (!queue_.empty() && queue_.top().time <= host_.Clock()) {
    Pending p = queue_.top();
    queue_.pop();
    window_.Deliver(p.event);
  }
}

void ScenarioEngine::ExecuteCommands() {
  for (;;) {
    std::optional<Command> command = reader_.Next();
    if (!command) throw ProgramEnd{0};
    line_ = command->line;
    if (command->kind == CommandKind::Run) {
      run_seen_ = true;
      std::int64_t target = command->time;
      if (command->relative) {
        // Checked before adding: both are at most kMaxTime.
        if (command->time > kMaxTime - host_.Clock()) {
          throw ReplayError(ClockOutOfRange(host_.Clock() + command->time));
        }
        target = host_.Clock() + command->time;
      }
      if (target > host_.Clock()) {
        target_ = target;
        return;
      }
      continue;  // a target already reached: nothing to do
    }
    Execute(*command);
  }
}

void ScenarioEngine::Execute(const Command& command) {
  switch (command.kind) {
    case CommandKind::Tick:
      if (run_seen_) throw ReplayError("tick after the first run");
      host_.SetClock(command.time);
      break;
    case CommandKind::Random:
      for (float x : command.numbers) host_.Random().Append(x);
      break;
    case CommandKind::Seed:
      host_.Random().Seed(command.seed);
      break;
    case CommandKind::At:
      queue_.push(Pending{command.time, next_order_++, command.event});
      break;
    case CommandKind::Trace:
      host_.SetTrace(command.trace);
      break;
    case CommandKind::Run:
      break;  // handled by ExecuteCommands
    case CommandKind::Set:
    case CommandKind::Let:
    case CommandKind::Land:
    case CommandKind::Dump:
    case CommandKind::Snapshot:
      window_.Apply(command);
      break;
  }
}

}  // namespace orvo::replay
