// The keys a desktop window keeps for itself: F11 and Alt+Enter switch
// between the window and the full screen, as desktop programs do. Their
// presses, repeats and releases never reach the game's key table; every
// other key passes through untouched. The SDL and the Windows windows judge
// their keys here, each switching its own way.
#pragma once

#include <vector>

#include "app/input_event.h"

namespace orvo::app {

class WindowKeys {
 public:
  enum class Verdict {
    ForTheGame,        // the game's key table gets the event
    Swallowed,         // the window keeps it and does nothing
    ToggleFullscreen,  // the window keeps it and switches its mode
  };
  // A key event as a window sees it: the key, whether it goes down (a
  // repeat too) or up, whether it repeats, and the modifiers held with it.
  struct Press {
    Key key;
    bool down;
    bool repeat = false;
    bool alt = false;
    bool ctrlOrLogo = false;  // Ctrl, or the logo key (Windows, Super, Command)
  };

  Verdict Judge(const Press& press);
  // Forgets the keys it holds: the window lost the keyboard, and their
  // releases go elsewhere.
  void Reset() { held_.clear(); }

 private:
  bool IsHeld(Key key) const;

  // The keys whose press the window took, until their release: so a key
  // that was Alt+Enter stays the window's even after Alt is let go.
  std::vector<Key> held_;
};

}  // namespace orvo::app
