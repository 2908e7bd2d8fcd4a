// The host that runs the application: the real window on SDL2, or the
// headless replay with its virtual clock. This is the one seam between them.
#pragma once

#include <cstdint>
#include <limits>

#include "game/control.h"
#include "gfx/picture_decoder.h"

namespace orvo::app {

class App;

inline constexpr std::int64_t kNothingDue = std::numeric_limits<std::int64_t>::max();

enum class ControlChange { Caption, Tag, Visible, Color };

class Host {
 public:
  virtual ~Host() = default;

  // Milliseconds of a monotonic 64-bit clock.
  virtual std::int64_t TickCount() = 0;
  // Returns once TickCount() >= deadline; handles no window events meanwhile
  // (they stay queued). `ms` is the length of the wait as asked for.
  virtual void WaitUntil(std::int64_t deadline, std::int32_t ms) = 0;
  // Lets the window process all pending events and returns when none are
  // left. Handlers run inside (a Start click runs a whole nested game).
  // `nextDue` is the earliest tick at which the game loop has something to do
  // (kNothingDue: only an event can change anything); a host may sleep until
  // then or until an event arrives.
  virtual void ProcessEvents(std::int64_t nextDue) = 0;
  virtual float NextRandom() = 0;
  virtual void ReseedRandom() = 0;
  // Makes the board surface visible.
  virtual void RefreshFront() = 0;
  // A control's caption, tag, visibility or text colour was set (changed or
  // not); a caption set also asks for the label to be refreshed at once.
  virtual void ControlChanged(game::Control c, ControlChange what) = 0;
  // The decoder of the game's picture files. By default the desktop's
  // (giflib and libjpeg-turbo); a platform may supply its own.
  virtual const gfx::PictureDecoder& Pictures();
  // Ends the program at once; never returns.
  [[noreturn]] virtual void EndProgram(int status) = 0;
  // A Start click was ignored because kMaxNestedGameLoops game loops were
  // already running one inside the other (each Stop and Start clicked in one
  // batch of events nests one more). Nothing has changed; the window does
  // nothing more, a headless host may report it.
  virtual void StartClickIgnored() {}
};

}  // namespace orvo::app
