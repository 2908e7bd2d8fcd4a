// The page's queued events as the shell's input events: keys (the touch
// controls' are no keyboard's), the pointer, gamepads in the standard layout
// and the page losing the keyboard. The shell applies the rules of input
// (app/input_queue.h).
#pragma once

#include <optional>

#include "app/input_event.h"
#include "platform/web/page_events.h"

namespace orvo::web {

// The input event `event` stands for; nothing for an empty or unknown one.
std::optional<app::InputEvent> InputEventOf(const PageEvent& event);

// The standard gamepad layout's button `index` as the mapping knows it.
app::PadButton StandardButton(int index);

}  // namespace orvo::web
