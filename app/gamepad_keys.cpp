#include "app/gamepad_keys.h"

namespace orvo::app {

namespace {

Key KeyOf(int source) {
  constexpr Key kKeys[] = {Key::Up,     Key::Down, Key::Left, Key::Left, Key::Enter,
                           Key::Escape, Key::Up,   Key::Down, Key::Left};
  return kKeys[source];
}

}  // namespace

void GamepadKeys::Hold(int pad, Source source, bool held, std::vector<InputEvent>& out) {
  bool& was = held_[pad][source];
  if (was == held) return;
  was = held;
  const Key key = KeyOf(source);
  int& holders = holders_[key];
  if (held && holders++ == 0)
    out.push_back(InputEvent::KeyEvent(InputEvent::Kind::KeyDown, key, false));
  if (!held && --holders == 0)
    out.push_back(InputEvent::KeyEvent(InputEvent::Kind::KeyUp, key, false));
}

void GamepadKeys::Button(int pad, PadButton button, bool down, std::vector<InputEvent>& out) {
  switch (button) {
    case PadButton::DpadUp:
      return Hold(pad, kDpadUp, down, out);
    case PadButton::DpadDown:
      return Hold(pad, kDpadDown, down, out);
    case PadButton::DpadLeft:
      return Hold(pad, kDpadLeft, down, out);
    case PadButton::South:
      return Hold(pad, kSouth, down, out);
    case PadButton::East:
      return Hold(pad, kEast, down, out);
    case PadButton::Back:
      return Hold(pad, kBack, down, out);
    case PadButton::Start:
      // A click happens on the release, as with the pointer.
      if (!down) out.push_back(InputEvent::Click(0));
      return;
    case PadButton::West:
    case PadButton::North:
    case PadButton::DpadRight:
    case PadButton::Other:
      return;
  }
}

void GamepadKeys::LeftStick(int pad, float x, float y, std::vector<InputEvent>& out) {
  const auto lean = [&](Source source, float amount) {
    const bool was = held_[pad][source];
    Hold(pad, source, was ? amount > kStickRelease : amount >= kStickPress, out);
  };
  lean(kStickUp, -y);
  lean(kStickDown, y);
  lean(kStickLeft, -x);
}

void GamepadKeys::Disconnected(int pad, std::vector<InputEvent>& out) {
  const auto it = held_.find(pad);
  if (it == held_.end()) return;
  for (int source = 0; source < kSourceCount; ++source) {
    Hold(pad, static_cast<Source>(source), false, out);
  }
  held_.erase(pad);
}

void GamepadKeys::ReleaseAll(std::vector<InputEvent>& out) {
  while (!held_.empty()) Disconnected(held_.begin()->first, out);
}

}  // namespace orvo::app
