// The only way out of the rules: the clock, the waits, the random source, the
// board view's refresh and the labels' changes. A platform provides them;
// the rules never know which one runs them.
#pragma once

#include <cstdint>

#include "game/control.h"
#include "game/labels.h"

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
  // A new game starts the random source afresh.
  virtual void ReseedRandom() = 0;
  // Makes what was drawn on the board surface visible.
  virtual void RefreshFront() = 0;
  // A label's caption, tag, visibility or text colour was set (changed or
  // not) and now stands as `label`; a caption set asks for the label to be
  // shown at once.
  virtual void ControlChanged(Control c, ControlChange what, const LabelState& label) = 0;
};

}  // namespace orvo::game
