// The keys the window keeps for itself: F11 and Alt+Enter switch between a
// window and the full screen, as desktop programs do. Their presses, their
// repeats and their releases never reach the game's key table; every other
// key passes through untouched.
#pragma once

#include <SDL2/SDL_events.h>

#include <vector>

namespace orvo::sdl {

class WindowKeys {
 public:
  enum class Verdict {
    ForTheGame,        // the game's key table gets the event
    Swallowed,         // the window keeps it and does nothing
    ToggleFullscreen,  // the window keeps it and switches its mode
  };

  // What becomes of a key-down or key-up event.
  Verdict Judge(const SDL_KeyboardEvent& key);

 private:
  static bool IsToggle(const SDL_Keysym& keysym);
  bool IsHeld(SDL_Keycode code) const;

  // The keys whose press the window took, until their release: so a key
  // that was Alt+Enter stays the window's even after Alt is let go.
  std::vector<SDL_Keycode> held_;
};

}  // namespace orvo::sdl
