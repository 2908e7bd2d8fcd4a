#include "platform/sdl/clock.h"

#include <SDL2/SDL_events.h>
#include <SDL2/SDL_timer.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace orvo::sdl {

namespace {

constexpr auto kFineSlice = std::chrono::microseconds(200);
// The last stretch of a timed sleep (in milliseconds) that is slept in short
// slices instead of one long sleep.
constexpr std::int64_t kFineStretch = 2;

}  // namespace

std::int64_t TickCount() {
  return static_cast<std::int64_t>(SDL_GetTicks64());
}

void SleepUntil(std::int64_t tick, bool wakeOnEvent) {
  for (;;) {
    const std::int64_t remaining = tick - TickCount();
    if (remaining <= 0) return;
    if (remaining > kFineStretch) {
      // Wake a little early and finish in short slices: never early, and
      // late by a fraction of a millisecond at most. (A tick reading may be
      // up to a millisecond old, so the coarse sleep stops two short.)
      const auto ms = std::min<std::int64_t>(remaining - kFineStretch, 1 << 30);
      if (wakeOnEvent) {
        if (SDL_WaitEventTimeout(nullptr, static_cast<int>(ms)) == 1) return;
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
      }
    } else {
      if (wakeOnEvent && SDL_PollEvent(nullptr) == 1) return;
      std::this_thread::sleep_for(kFineSlice);
    }
  }
}

}  // namespace orvo::sdl
