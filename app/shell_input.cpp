// Input events as the window's handlers take them, with the caption press:
// a press on a caption colours it, and its release is a click only when it
// comes over that same caption.
#include "app/shell.h"

namespace orvo::app {

void Shell::Deliver(const InputEvent& event) {
  switch (event.kind) {
    case InputEvent::Kind::KeyDown:
      app_.Form_KeyDown(event.key);
      break;
    case InputEvent::Kind::KeyUp:
      app_.Form_KeyUp(event.key);
      break;
    case InputEvent::Kind::PointerDown:
      PointerDown(event.x, event.y);
      break;
    case InputEvent::Kind::PointerUp:
      PointerUp(event.x, event.y);
      break;
    case InputEvent::Kind::PointerMove:
      // The press stays with its caption wherever the pointer goes: only
      // where it is released counts.
      break;
    case InputEvent::Kind::Expose:
      app_.Form_Paint();
      Present();
      break;
    case InputEvent::Kind::CaptionClick:
      // As a press and release on the caption: the click alone changes no
      // colour, and runs the same protocol.
      app_.lblAction_Click(event.caption);
      break;
    case InputEvent::Kind::Close:
      app_.Form_Unload();
    case InputEvent::Kind::FocusLost:
    case InputEvent::Kind::PadButton:
    case InputEvent::Kind::PadStick:
    case InputEvent::Kind::PadGone:
      // The queue turns these into keys (input_queue.h); they never reach
      // the handlers themselves.
      break;
  }
}

void Shell::PointerDown(int x, int y) {
  // A second button or finger while one press is held changes nothing.
  if (pressed_action_ >= 0) return;
  const int index = ActionAt(x, y);
  if (index < 0) return;
  pressed_action_ = index;
  app_.lblAction_MouseDown(index);
}

void Shell::PointerUp(int x, int y) {
  if (pressed_action_ < 0) return;
  // The caption that took the press gets the release; a click only when the
  // release is over that same caption. The release comes first, and is seen
  // before the click runs (a Start click runs a whole game).
  const int index = pressed_action_;
  pressed_action_ = -1;
  app_.lblAction_MouseUp(index);
  ShowPending();
  if (ActionAt(x, y) == index) app_.lblAction_Click(index);
}

}  // namespace orvo::app
