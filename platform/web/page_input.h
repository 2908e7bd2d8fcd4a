// The page's queued events as the shell's input events: keys (the touch
// controls' are no keyboard's), the pointer, gamepads in the standard layout
// and the page losing the keyboard. The shell applies the rules of input
// (app/input_queue.h).
#pragma once

#include <cstdint>
#include <optional>

#include "app/input_event.h"
#include "platform/web/page_table.h"

namespace orvo::web {

// The input event `event` stands for; nothing for an empty or unknown one.
std::optional<app::InputEvent> InputEventOf(const PageEvent& event);

// The standard gamepad layout's button `index` as the mapping knows it.
app::PadButton StandardButton(int index);

// What the wait for the page's next event needs of the page.
class PageQueue {
 public:
  virtual ~PageQueue() = default;
  // The first queued event, taken out of the queue; nothing when none is.
  virtual std::optional<PageEvent> Take() = 0;
  // Sleeps until an event is queued, or about `ms` milliseconds (-1: no
  // limit). The page's timers may end it a little early.
  virtual void Sleep(std::int64_t ms) = 0;
  virtual std::int64_t Now() = 0;
};

// The next input event from `page`, as Platform::WaitForEvent hands it out:
// one queued, or the first to come before Now() reaches `deadline`; nothing
// once it has, never sooner. Events that stand for nothing are skipped.
std::optional<app::InputEvent> NextInputEvent(PageQueue& page, std::int64_t deadline);

}  // namespace orvo::web
