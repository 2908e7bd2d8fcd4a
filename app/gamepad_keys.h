// Gamepads as the game's keys, one mapping for every platform: the D-pad
// and the left stick move the pair (Up, Down, Left), the south face button
// (A, Cross) pushes it left too, the east one (B, Circle) sets off a bomb
// (Enter), Start clicks the Start/Stop caption and Back (Select, Share)
// halts the game (Escape). A held button is a held key: its press is a key
// down and its release a key up, and the game's own repeat rules do the
// rest. Several pads and several buttons may hold one key at once; it goes
// up when the last of them lets go. The keys a pad makes are no keyboard's:
// the shell makes sure that the game sees a quick tap.
#pragma once

#include <array>
#include <map>
#include <vector>

#include "app/input_event.h"

namespace orvo::app {

// How far a stick must lean (of 1) to count as pressed, and how far back
// it must come to count as released, so that a stick resting near the
// threshold does not chatter.
inline constexpr float kStickPress = 0.5f;
inline constexpr float kStickRelease = 0.35f;

class GamepadKeys {
 public:
  // Button `button` of pad `pad` went down or up; the events it makes are
  // appended to `out`.
  void Button(int pad, PadButton button, bool down, std::vector<InputEvent>& out);
  // The left stick of pad `pad` now stands at (x, y), each -1 to 1, y down.
  void LeftStick(int pad, float x, float y, std::vector<InputEvent>& out);
  // Pad `pad` is gone: everything it held is let go.
  void Disconnected(int pad, std::vector<InputEvent>& out);
  // Every pad lets go of everything it holds, and is forgotten until it
  // reports again (the window lost the keyboard).
  void ReleaseAll(std::vector<InputEvent>& out);

 private:
  // What a pad holds: one bit per source (button or stick direction).
  enum Source {
    kDpadUp,
    kDpadDown,
    kDpadLeft,
    kSouth,
    kEast,
    kBack,
    kStickUp,
    kStickDown,
    kStickLeft,
    kSourceCount
  };
  void Hold(int pad, Source source, bool held, std::vector<InputEvent>& out);

  std::map<int, std::array<bool, kSourceCount>> held_;
  // How many sources, of all pads, hold each key.
  std::map<Key, int> holders_;
};

}  // namespace orvo::app
