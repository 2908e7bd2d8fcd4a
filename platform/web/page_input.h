// The page's queued events as the shell's input events. Gamepads go through
// the game's one mapping (app/gamepad_keys.h). The release of a touch
// control or a pad button is held back to the next event processing when
// its press came in the same one: a quick tap would otherwise be pressed
// and released before the game loop looked at the key.
#pragma once

#include <deque>
#include <set>
#include <vector>

#include "app/gamepad_keys.h"
#include "app/platform.h"
#include "platform/web/page_events.h"

namespace orvo::web {

class PageInput {
 public:
  // Turns `event` into none, one or more input events, queued for Next.
  void Take(const PageEvent& event);
  // The next input event of this processing; false when there is none.
  bool Next(app::InputEvent& event);
  // This processing's events are all taken: the releases held back become
  // the next processing's first events.
  void EndOfBatch();
  bool HasReady() const { return !ready_.empty(); }

 private:
  // Queues `event`, noting a key pressed in this processing.
  void Queue(const app::InputEvent& event);
  void Release(int key);

  app::GamepadKeys pads_;
  std::deque<app::InputEvent> ready_;
  std::vector<int> held_back_;
  std::set<int> pressed_now_;  // keys whose press this processing hands out
};

// The standard gamepad layout's button `index` as the mapping knows it.
app::PadButton StandardButton(int index);

}  // namespace orvo::web
