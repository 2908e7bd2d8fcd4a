// The game loop and the per-turn key handling.
#include <algorithm>

#include "app/app.h"

namespace orvo::app {

namespace {

constexpr std::int64_t kEnterLockOut = 1000;
constexpr std::int64_t kLeftInterval = 100;

}  // namespace

void App::GameLoop() {
  // Counts this loop among the running ones until it returns, also when a
  // platform ends the program by unwinding through it.
  struct Running {
    int& loops;
    explicit Running(int& n) : loops(n) { ++loops; }
    ~Running() { --loops; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
  } running(running_loops_);
  game::GameState& state = game_.State();
  while (state.Running) {
    ProcessKeys();
    game_.SlidePair();
    services_.ProcessEvents(NextDue());
  }
}

void App::ProcessKeys() {
  game::GameState& state = game_.State();
  // One reading for the whole turn, even after a bomb or a move took time.
  const std::int64_t now = services_.TickCount();
  const auto due = [&](int code) { return keys_[code].Pressed && keys_[code].NextTime < now; };

  // Escape halts the game after the rest of this turn; the caption stays "Stop".
  if (keys_[VK_ESCAPE].Pressed) state.Running = false;
  if (!state.PairActive) return;

  if (due(VK_RETURN)) {
    // The press is consumed and the lock-out starts, bomb or no bomb.
    keys_[VK_RETURN].Pressed = false;
    keys_[VK_RETURN].NextTime = now + kEnterLockOut;
    game_.UseBomb();
  }
  // Up and Down restart their interval whether or not the pair moved; at
  // level 100 and above the interval is 0 or negative.
  if (due(VK_UP)) {
    keys_[VK_UP].NextTime = ((100 - 2 * static_cast<std::int64_t>(state.Level)) + now) + 100;
    game_.MovePairUp();
  }
  if (due(VK_DOWN)) {
    keys_[VK_DOWN].NextTime = ((100 - 2 * static_cast<std::int64_t>(state.Level)) + now) + 100;
    game_.MovePairDown();
  }
  // Left does not touch the timed slide.
  if (due(VK_LEFT)) {
    keys_[VK_LEFT].NextTime = now + kLeftInterval;
    game_.MovePairLeft();
  }
}

std::int64_t App::NextDue() const {
  const game::GameState& state = game_.State();
  // Escape ends the loop in the next turn, and a game no longer running (game
  // over, Stop) ends it after this event processing: either way the loop is
  // about to return, so nothing is worth waiting for.
  if (keys_[VK_ESCAPE].Pressed || !state.Running) return 0;
  if (!state.PairActive) return kNothingDue;
  std::int64_t due = game_.NextSlideDue();
  for (int code : {VK_RETURN, VK_UP, VK_DOWN, VK_LEFT}) {
    if (keys_[code].Pressed) due = std::min(due, keys_[code].NextTime + 1);
  }
  return due;
}

}  // namespace orvo::app
