// The window's clock: SDL's millisecond ticks, and sleeping until a tick
// without waking early and with at most a fraction of a millisecond late.
#pragma once

#include <SDL2/SDL_events.h>

#include <cstdint>

namespace orvo::sdl {

// The last stretch of a timed sleep (in milliseconds) that is slept in short
// slices instead of one long sleep.
inline constexpr std::int64_t kFineStretch = 2;

class Clock {
 public:
  virtual ~Clock() = default;

  // Milliseconds since SDL started.
  virtual std::int64_t TickCount();
  // Sleeps until TickCount() reaches `tick`. With `event`, an arriving window
  // event ends the sleep early: it is stored there and true is returned.
  // `due` marks a wake-up that the game waits for (a recording clock
  // measures those).
  virtual bool SleepUntil(std::int64_t tick, SDL_Event* event, bool due);
};

}  // namespace orvo::sdl
