// What the application asks of the window shell that runs it: the rules'
// services plus waiting until a tick, the window's event processing, the
// picture decoder and the end of the program. The shell (shell.h) is the
// one implementation; tests of the application logic bring their own.
#pragma once

#include <cstdint>
#include <limits>

#include "game/game_services.h"
#include "gfx/file_reader.h"

namespace orvo::app {

// A next due tick that never comes: only an event can change anything.
inline constexpr std::int64_t kNothingDue = std::numeric_limits<std::int64_t>::max();

class AppServices : public game::GameServices {
 public:
  // Returns once TickCount() has passed `ms` more milliseconds, through
  // WaitUntil; the same for every shell.
  void Wait(std::int32_t ms) final;

  // Returns once TickCount() >= deadline; handles no window events meanwhile
  // (they stay queued). `ms` is the length of the wait as asked for.
  virtual void WaitUntil(std::int64_t deadline, std::int32_t ms) = 0;
  // Lets the window process all pending events and returns when none are
  // left. Handlers run inside (a Start click runs a whole nested game).
  // `nextDue` is the earliest tick at which the game loop has something to do
  // (kNothingDue: only an event can change anything); the window may sleep
  // until then or until an event arrives.
  virtual void ProcessEvents(std::int64_t nextDue) = 0;
  // The program's files (the platform's listing and reading), where the
  // game finds and reads its pictures.
  virtual const gfx::FileReader& Files() = 0;
  // Ends the program at once; never returns.
  [[noreturn]] virtual void EndProgram(int status) = 0;
  // A Start click was ignored because kMaxNestedGameLoops game loops were
  // already running one inside the other (each Stop and Start clicked in one
  // batch of events nests one more). Nothing has changed.
  virtual void StartClickIgnored() {}
};

}  // namespace orvo::app
