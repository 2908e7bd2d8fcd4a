// The only way out of the rules: the clock, the waits, the random source, the
// board view's refresh and the labels. The application provides it; the rules
// never know which host runs them.
#pragma once

#include <cstdint>
#include <string>

#include "game/control.h"

namespace orvo::game {

class GameServices {
 public:
  virtual ~GameServices() = default;

  // Milliseconds of a monotonic 64-bit clock.
  virtual std::int64_t TickCount() = 0;
  // Returns once at least `ms` milliseconds have passed; handles no window events.
  virtual void Wait(std::int32_t ms) = 0;
  // Uniform single-precision numbers in [0, 1).
  virtual float NextRandom() = 0;
  virtual void ReseedRandom() = 0;
  // Makes what was drawn on the board surface visible.
  virtual void RefreshFront() = 0;
  // Sets a label's caption and refreshes the label at once.
  virtual void SetCaption(Control c, const std::string& text) = 0;
  virtual void SetTag(Control c, const std::string& tag) = 0;
  virtual void SetVisible(Control c, bool visible) = 0;
};

}  // namespace orvo::game
