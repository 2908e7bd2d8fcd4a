// The window's clock: SDL's millisecond ticks, and sleeping until a tick
// without waking early and with at most a fraction of a millisecond late.
#pragma once

#include <cstdint>

namespace orvo::sdl {

// Milliseconds since SDL started.
std::int64_t TickCount();
// Sleeps until TickCount() reaches `tick`. With `wakeOnEvent`, a queued
// window event ends the sleep early (it stays queued).
void SleepUntil(std::int64_t tick, bool wakeOnEvent);

}  // namespace orvo::sdl
