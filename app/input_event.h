// The input events a platform hands to the window shell: the keyboard's, the
// pointer's, the gamepads' and the window's own.
#pragma once

namespace orvo::app {

// A key by its virtual-key code, the numbers the game's key table and its
// scenarios use (13 Enter, 27 Escape, 37 Left, 38 Up, 39 Right, 40 Down, 65
// to 90 the letters...). The game acts on five of them; any other code may
// come and goes into the table unused.
enum class Key : int {
  Enter = 13,
  Escape = 27,
  Left = 37,
  Up = 38,
  Right = 39,
  Down = 40,
  F11 = 122,
};

constexpr int CodeOf(Key key) {
  return static_cast<int>(key);
}

// The buttons of a standard gamepad layout (SDL's game controllers, XInput,
// the browser's "standard" mapping), by where they sit.
enum class PadButton {
  South,
  East,
  West,
  North,
  Back,
  Start,
  DpadUp,
  DpadDown,
  DpadLeft,
  DpadRight,
  Other,  // shoulders, sticks' presses, guide: not used by the game
};

struct InputEvent {
  enum class Kind {
    KeyDown,       // `key` went down, or repeats while held
    KeyUp,         // `key` went up
    PointerDown,   // the primary button (or a finger) went down at (x, y)
    PointerUp,     // ... and came up at (x, y)
    PointerMove,   // the pointer moved to (x, y)
    Expose,        // the window's picture was lost or resized: draw it anew
    Close,         // the player asked to close the window: the program ends
    FocusLost,     // the window lost the keyboard: what is held is let go
    PadButton,     // `button` of pad `pad` went down (`down`) or up
    PadStick,      // the left stick of pad `pad` stands at (stickX, stickY)
    PadGone,       // pad `pad` was taken away
    CaptionClick,  // caption `caption` (0 Start/Stop, 1 Exit) was clicked by
                   // other means than the pointer (a gamepad's Start button)
  };
  Kind kind = Kind::Expose;
  Key key = Key{0};
  // Whether a key event comes from the keyboard; false for a touch control
  // that stands for a key (the page's buttons and swipes), whose quick taps
  // the shell makes sure the game sees.
  bool keyboard = true;
  int x = 0;  // the pointer's position, in the window's pixels
  int y = 0;
  int pad = 0;  // the pad, for the pad events
  PadButton button = PadButton::Other;
  bool down = false;
  float stickX = 0;  // each -1 to 1, y down
  float stickY = 0;
  int caption = 0;

  static InputEvent Of(Kind kind) { return InputEvent{kind}; }
  static InputEvent KeyEvent(Kind kind, Key key, bool keyboard = true) {
    InputEvent e{kind};
    e.key = key;
    e.keyboard = keyboard;
    return e;
  }
  static InputEvent Pointer(Kind kind, int x, int y) {
    InputEvent e{kind};
    e.x = x;
    e.y = y;
    return e;
  }
  static InputEvent Pad(int pad, PadButton button, bool down) {
    InputEvent e{Kind::PadButton};
    e.pad = pad;
    e.button = button;
    e.down = down;
    return e;
  }
  static InputEvent Stick(int pad, float x, float y) {
    InputEvent e{Kind::PadStick};
    e.pad = pad;
    e.stickX = x;
    e.stickY = y;
    return e;
  }
  static InputEvent Gone(int pad) {
    InputEvent e{Kind::PadGone};
    e.pad = pad;
    return e;
  }
  static InputEvent Click(int caption) {
    InputEvent e{Kind::CaptionClick};
    e.caption = caption;
    return e;
  }
};

}  // namespace orvo::app
