#include "app/input_queue.h"

namespace orvo::app {

using Kind = InputEvent::Kind;

void InputQueue::Append(const std::vector<InputEvent>& events) {
  queue_.insert(queue_.end(), events.begin(), events.end());
}

void InputQueue::Add(const InputEvent& event) {
  std::vector<InputEvent> made;
  switch (event.kind) {
    case Kind::PadButton:
      pads_.Button(event.pad, event.button, event.down, made);
      return Append(made);
    case Kind::PadStick:
      pads_.LeftStick(event.pad, event.stickX, event.stickY, made);
      return Append(made);
    case Kind::PadGone:
      pads_.Disconnected(event.pad, made);
      return Append(made);
    case Kind::FocusLost:
      // A key that a pad and a key event both hold goes up once.
      pads_.ReleaseAll(made);
      for (const InputEvent& e : made) held_.erase(e.key);
      Append(made);
      for (Key key : held_) queue_.push_back(InputEvent::KeyEvent(Kind::KeyUp, key));
      held_.clear();
      return;
    case Kind::KeyDown:
      held_.insert(event.key);
      break;
    case Kind::KeyUp:
      held_.erase(event.key);
      break;
    default:
      break;
  }
  queue_.push_back(event);
}

std::optional<InputEvent> InputQueue::Next() {
  while (!queue_.empty()) {
    const InputEvent event = queue_.front();
    queue_.pop_front();
    if (event.kind == Kind::KeyDown) pressed_now_.insert(event.key);
    if (event.kind == Kind::KeyUp && !event.keyboard && pressed_now_.contains(event.key)) {
      held_back_.push_back(event);
      continue;
    }
    return event;
  }
  return std::nullopt;
}

void InputQueue::EndBatch() {
  queue_.insert(queue_.begin(), held_back_.begin(), held_back_.end());
  held_back_.clear();
  pressed_now_.clear();
}

}  // namespace orvo::app
