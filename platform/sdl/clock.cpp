#include "platform/sdl/clock.h"

#include <SDL2/SDL_events.h>
#include <SDL2/SDL_timer.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace orvo::sdl {

namespace {

constexpr auto kFineSlice = std::chrono::microseconds(200);

}  // namespace

std::int64_t Clock::TickCount() {
  return static_cast<std::int64_t>(SDL_GetTicks64());
}

bool Clock::SleepUntil(std::int64_t tick, bool wakeOnEvent, bool /*due*/) {
  for (;;) {
    const std::int64_t remaining = tick - TickCount();
    if (remaining <= 0) return false;
    if (remaining > kFineStretch) {
      // Wake a little early and finish in short slices: never early, and
      // late by a fraction of a millisecond at most. (A tick reading may be
      // up to a millisecond old, so the coarse sleep stops two short.)
      const auto ms = std::min<std::int64_t>(remaining - kFineStretch, 1 << 30);
      if (wakeOnEvent) {
        if (SDL_WaitEventTimeout(nullptr, static_cast<int>(ms)) == 1) return true;
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
      }
    } else {
      if (wakeOnEvent && SDL_PollEvent(nullptr) == 1) return true;
      std::this_thread::sleep_for(kFineSlice);
    }
  }
}

}  // namespace orvo::sdl
