// The shell's queue of input events, and the rules of input that every
// platform shares:
// - gamepads become the game's keys by the one mapping (gamepad_keys.h);
// - when the window loses the keyboard, every key and pad button held is
//   let go, as the window would never hear of their releases;
// - a quick tap of an input that is not the keyboard (a touch control, a pad
//   button) is seen by the game: a release whose press was handed out in the
//   same batch of events waits for the next batch, so that the game loop
//   looks at the key in between. The keyboard's releases are handed out as
//   they come.
#pragma once

#include <deque>
#include <optional>
#include <set>
#include <vector>

#include "app/gamepad_keys.h"
#include "app/input_event.h"

namespace orvo::app {

class InputQueue {
 public:
  // Takes in `event` as it came from the platform, after those before it.
  void Add(const InputEvent& event);
  // The next event of this batch for the game; nothing when the batch is
  // done.
  std::optional<InputEvent> Next();
  // The batch is done: the releases held back become the next batch's
  // first events.
  void EndBatch();
  // Whether an event waits (a release held back counts once its batch is
  // done).
  bool Empty() const { return queue_.empty(); }

 private:
  void Append(const std::vector<InputEvent>& events);

  std::deque<InputEvent> queue_;
  GamepadKeys pads_;
  std::set<Key> held_;         // keys down by key events, as they were added
  std::set<Key> pressed_now_;  // keys whose press this batch handed out
  std::vector<InputEvent> held_back_;
};

}  // namespace orvo::app
