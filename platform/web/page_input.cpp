#include "platform/web/page_input.h"

#include <iterator>

#include "app/app_services.h"
#include "app/form.h"
#include "game/board_geometry.h"

namespace orvo::web {

// The page's table and the program agree on the window and the board.
static_assert(kWindowWidth == app::kClientWidth && kWindowHeight == app::kClientHeight);
static_assert(kBoardLeft == app::kFrontLeft && kBoardTop == app::kFrontTop);
static_assert(kBoardWidth == game::kFrontWidth && kBoardHeight == game::kFrontHeight);

using app::InputEvent;
using Kind = InputEvent::Kind;

app::PadButton StandardButton(int index) {
  using B = app::PadButton;
  // The standard layout's buttons 0 to 15; 4 to 7 are the shoulders and
  // triggers, 10 and 11 the sticks' presses.
  static constexpr B kButtons[] = {
      B::South, B::East,  B::West,  B::North, B::Other,  B::Other,    B::Other,    B::Other,
      B::Back,  B::Start, B::Other, B::Other, B::DpadUp, B::DpadDown, B::DpadLeft, B::DpadRight};
  return index >= 0 && index < static_cast<int>(std::size(kButtons)) ? kButtons[index] : B::Other;
}

std::optional<InputEvent> InputEventOf(const PageEvent& event) {
  switch (event.kind) {
    case PageEventKind::KeyDown:
      return InputEvent::KeyEvent(Kind::KeyDown, app::Key{event.code});
    case PageEventKind::KeyUp:
      return InputEvent::KeyEvent(Kind::KeyUp, app::Key{event.code});
    case PageEventKind::TapKeyUp:
      return InputEvent::KeyEvent(Kind::KeyUp, app::Key{event.code}, false);
    case PageEventKind::PointerDown:
      return InputEvent::Pointer(Kind::PointerDown, event.x, event.y);
    case PageEventKind::PointerUp:
      return InputEvent::Pointer(Kind::PointerUp, event.x, event.y);
    case PageEventKind::PadButton:
      return InputEvent::Pad(event.pad, StandardButton(event.button), event.down != 0);
    case PageEventKind::PadStick:
      return InputEvent::Stick(event.pad, static_cast<float>(event.stickX) / 1000.0f,
                               static_cast<float>(event.stickY) / 1000.0f);
    case PageEventKind::PadGone:
      return InputEvent::Gone(event.pad);
    case PageEventKind::FocusLost:
      return InputEvent::Of(Kind::FocusLost);
    case PageEventKind::None:
      break;
  }
  return std::nullopt;
}

std::optional<InputEvent> NextInputEvent(PageQueue& page, std::int64_t deadline) {
  for (;;) {
    while (const std::optional<PageEvent> event = page.Take()) {
      if (std::optional<InputEvent> input = InputEventOf(*event)) return input;
    }
    if (deadline == app::kNothingDue) {
      page.Sleep(-1);
      continue;
    }
    // kNoWait, the smallest deadline, has always passed.
    const std::int64_t now = page.Now();
    if (now >= deadline) return std::nullopt;
    page.Sleep(deadline - now);
  }
}

}  // namespace orvo::web
