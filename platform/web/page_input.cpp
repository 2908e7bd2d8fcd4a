#include "platform/web/page_input.h"

namespace orvo::web {

using app::InputEvent;
using Kind = InputEvent::Kind;

app::PadButton StandardButton(int index) {
  switch (index) {
    case 0:
      return app::PadButton::South;
    case 1:
      return app::PadButton::East;
    case 2:
      return app::PadButton::West;
    case 3:
      return app::PadButton::North;
    case 8:
      return app::PadButton::Back;
    case 9:
      return app::PadButton::Start;
    case 12:
      return app::PadButton::DpadUp;
    case 13:
      return app::PadButton::DpadDown;
    case 14:
      return app::PadButton::DpadLeft;
    case 15:
      return app::PadButton::DpadRight;
    default:
      return app::PadButton::Other;
  }
}

std::optional<InputEvent> InputEventOf(const PageEvent& event) {
  switch (event.kind) {
    case PageEventKind::KeyDown:
      return InputEvent::KeyEvent(Kind::KeyDown, app::Key{event.a});
    case PageEventKind::KeyUp:
      return InputEvent::KeyEvent(Kind::KeyUp, app::Key{event.a});
    case PageEventKind::TapKeyUp:
      return InputEvent::KeyEvent(Kind::KeyUp, app::Key{event.a}, false);
    case PageEventKind::PointerDown:
      return InputEvent::Pointer(Kind::PointerDown, event.a, event.b);
    case PageEventKind::PointerUp:
      return InputEvent::Pointer(Kind::PointerUp, event.a, event.b);
    case PageEventKind::PadButton:
      return InputEvent::Pad(event.a, StandardButton(event.b / 2), event.b % 2 == 1);
    case PageEventKind::PadStick:
      return InputEvent::Stick(event.a, static_cast<float>(event.b / 4096 - 1000) / 1000.0f,
                               static_cast<float>(event.b % 4096 - 1000) / 1000.0f);
    case PageEventKind::PadGone:
      return InputEvent::Gone(event.a);
    case PageEventKind::None:
      break;
  }
  return std::nullopt;
}

}  // namespace orvo::web
