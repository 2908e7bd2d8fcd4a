// The keys the window keeps for itself: F11 and Alt+Enter switch between the
// window and a borderless full screen, as Windows programs do. Their
// presses, repeats and releases never reach the game's key table (a key that
// went down as Alt+Enter stays the window's until it comes up, even when Alt
// is let go first); every other key passes through untouched.
#pragma once

#include <vector>

namespace orvo::win32 {

// Windows' virtual-key codes of the keys judged here.
inline constexpr int kVkReturn = 0x0D;
inline constexpr int kVkF11 = 0x7A;

class WindowKeys {
 public:
  enum class Verdict {
    ForTheGame,        // the game's key table gets the event
    Swallowed,         // the window keeps it and does nothing
    ToggleFullscreen,  // the window keeps it and switches its mode
  };

  // What becomes of a key going down (`down`, repeats included) or up;
  // `alt`: whether Alt is held with it.
  Verdict Judge(int key, bool down, bool alt);

  // Forgets the held keys (the window lost the keyboard: their releases
  // go elsewhere).
  void Reset() { held_.clear(); }

 private:
  std::vector<int> held_;
};

}  // namespace orvo::win32
