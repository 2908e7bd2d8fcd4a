#include "platform/web/page_input.h"

namespace orvo::web {

using Kind = app::InputEvent::Kind;

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

void PageInput::Release(int key) {
  if (pressed_now_.count(key) != 0) {
    held_back_.push_back(key);
  } else {
    ready_.push_back(app::InputEvent{Kind::KeyUp, key});
  }
}

void PageInput::Queue(const app::InputEvent& event) {
  if (event.kind == Kind::KeyDown) pressed_now_.insert(event.key);
  ready_.push_back(event);
}

void PageInput::Take(const PageEvent& event) {
  std::vector<app::InputEvent> fromPad;
  switch (event.kind) {
    case PageEventKind::KeyDown:
      Queue(app::InputEvent{Kind::KeyDown, event.a});
      return;
    case PageEventKind::KeyUp:
      ready_.push_back(app::InputEvent{Kind::KeyUp, event.a});
      return;
    case PageEventKind::TapKeyUp:
      Release(event.a);
      return;
    case PageEventKind::PointerDown:
      ready_.push_back(app::InputEvent{Kind::PointerDown, 0, event.a, event.b});
      return;
    case PageEventKind::PointerUp:
      ready_.push_back(app::InputEvent{Kind::PointerUp, 0, event.a, event.b});
      return;
    case PageEventKind::PadButton:
      pads_.Button(event.a, StandardButton(event.b / 2), event.b % 2 == 1, fromPad);
      break;
    case PageEventKind::PadStick: {
      const float x = static_cast<float>(event.b / 4096 - 1000) / 1000.0f;
      const float y = static_cast<float>(event.b % 4096 - 1000) / 1000.0f;
      pads_.LeftStick(event.a, x, y, fromPad);
      break;
    }
    case PageEventKind::PadGone:
      pads_.Disconnected(event.a, fromPad);
      break;
    case PageEventKind::None:
      return;
  }
  for (const app::InputEvent& e : fromPad) {
    if (e.kind == Kind::KeyUp) {
      Release(e.key);
    } else {
      Queue(e);
    }
  }
}

bool PageInput::Next(app::InputEvent& event) {
  if (ready_.empty()) return false;
  event = ready_.front();
  ready_.pop_front();
  return true;
}

void PageInput::EndOfBatch() {
  for (int key : held_back_) ready_.push_back(app::InputEvent{Kind::KeyUp, key});
  held_back_.clear();
  pressed_now_.clear();
}

}  // namespace orvo::web
