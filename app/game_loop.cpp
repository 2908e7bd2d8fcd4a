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
  const auto due = [&](Key key) { return keys_[key].Pressed && keys_[key].NextTime < now; };

  // Escape halts the game after the rest of this turn; the caption stays "Stop".
  if (keys_[Key::Escape].Pressed) state.Running = false;
  if (!state.PairActive) return;

  if (due(Key::Enter)) {
    // The press is consumed and the lock-out starts, bomb or no bomb.
    keys_[Key::Enter].Pressed = false;
    keys_[Key::Enter].NextTime = now + kEnterLockOut;
    game_.UseBomb();
  }
  // Up and Down restart their interval whether or not the pair moved; at
  // level 100 and above the interval is 0 or negative.
  if (due(Key::Up)) {
    keys_[Key::Up].NextTime = ((100 - 2 * static_cast<std::int64_t>(state.Level)) + now) + 100;
    game_.MovePairUp();
  }
  if (due(Key::Down)) {
    keys_[Key::Down].NextTime = ((100 - 2 * static_cast<std::int64_t>(state.Level)) + now) + 100;
    game_.MovePairDown();
  }
  // Left does not touch the timed slide.
  if (due(Key::Left)) {
    keys_[Key::Left].NextTime = now + kLeftInterval;
    game_.MovePairLeft();
  }
}

std::int64_t App::NextDue() const {
  const game::GameState& state = game_.State();
  // Escape ends the loop in the next turn, and a game no longer running (game
  // over, Stop) ends it after this event processing: either way the loop is
  // about to return, so nothing is worth waiting for.
  if (keys_[Key::Escape].Pressed || !state.Running) return 0;
  if (!state.PairActive) return kNothingDue;
  std::int64_t due = game_.NextSlideDue();
  for (Key code : {Key::Enter, Key::Up, Key::Down, Key::Left}) {
    if (keys_[code].Pressed) due = std::min(due, keys_[code].NextTime + 1);
  }
  return due;
}

}  // namespace orvo::app
