// The window's clock: SDL's millisecond ticks, and sleeping until a tick
// without waking early and with at most a fraction of a millisecond late.
#pragma once

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
  // Sleeps until TickCount() reaches `tick`. With `wakeOnEvent`, a queued
  // window event ends the sleep early (it stays queued) and true is
  // returned. `due` marks a wake-up that the game waits for (a recording
  // clock measures those).
  virtual bool SleepUntil(std::int64_t tick, bool wakeOnEvent, bool due);
};

}  // namespace orvo::sdl
