// The one seam between the game and what runs it: the SDL window, the replay
// runner's virtual clock, a browser page. A platform provides the rules'
// services (game::GameServices) and what the application needs besides:
// waiting until a tick, processing the window's events, decoding pictures,
// ending the program.
#pragma once

#include <cstdint>
#include <limits>

#include "game/game_services.h"
#include "gfx/picture_decoder.h"

namespace orvo::app {

inline constexpr std::int64_t kNothingDue = std::numeric_limits<std::int64_t>::max();

// When a window shows a label's change: a caption at once (the rules set
// captions in the middle of a cascade and expect them seen), visibility and
// colour at the next event processing, a tag never (it is not drawn).
enum class LabelRefresh { Now, AtNextEvents, Never };
constexpr LabelRefresh RefreshFor(game::ControlChange what) {
  switch (what) {
    case game::ControlChange::Caption:
      return LabelRefresh::Now;
    case game::ControlChange::Visible:
    case game::ControlChange::Color:
      return LabelRefresh::AtNextEvents;
    case game::ControlChange::Tag:
      break;
  }
  return LabelRefresh::Never;
}

class Platform : public game::GameServices {
 public:
  // Returns once TickCount() has passed `ms` more milliseconds, through
  // WaitUntil; the same for every platform.
  void Wait(std::int32_t ms) final;

  // Returns once TickCount() >= deadline; handles no window events meanwhile
  // (they stay queued). `ms` is the length of the wait as asked for.
  virtual void WaitUntil(std::int64_t deadline, std::int32_t ms) = 0;
  // Lets the window process all pending events and returns when none are
  // left. Handlers run inside (a Start click runs a whole nested game).
  // `nextDue` is the earliest tick at which the game loop has something to do
  // (kNothingDue: only an event can change anything); a platform may sleep
  // until then or until an event arrives.
  virtual void ProcessEvents(std::int64_t nextDue) = 0;
  // The decoder of the game's picture files.
  virtual const gfx::PictureDecoder& Pictures() = 0;
  // Ends the program at once; never returns.
  [[noreturn]] virtual void EndProgram(int status) = 0;
  // A Start click was ignored because kMaxNestedGameLoops game loops were
  // already running one inside the other (each Stop and Start clicked in one
  // batch of events nests one more). Nothing has changed; a window does
  // nothing more, a headless platform may report it.
  virtual void StartClickIgnored() {}
};

}  // namespace orvo::app
