#include "platform/sdl/window_keys.h"

#include <algorithm>

namespace orvo::sdl {

bool WindowKeys::IsToggle(const SDL_Keysym& keysym) {
  if (keysym.sym == SDLK_F11) return true;
  const bool enter = keysym.sym == SDLK_RETURN || keysym.sym == SDLK_KP_ENTER;
  // Alt+Enter with either Alt; with Ctrl or the logo key as well it is some
  // other shortcut, and Enter goes to the game as before.
  return enter && (keysym.mod & KMOD_ALT) && !(keysym.mod & (KMOD_CTRL | KMOD_GUI));
}

bool WindowKeys::IsHeld(SDL_Keycode code) const {
  return std::find(held_.begin(), held_.end(), code) != held_.end();
}

WindowKeys::Verdict WindowKeys::Judge(const SDL_KeyboardEvent& key) {
  const SDL_Keycode code = key.keysym.sym;
  // F11 is the window's alone, also a repeat or release of a press that it
  // never saw (made before the window had the keyboard).
  const bool f11 = key.keysym.sym == SDLK_F11;
  if (key.type == SDL_KEYUP) {
    if (!IsHeld(code)) return f11 ? Verdict::Swallowed : Verdict::ForTheGame;
    held_.erase(std::remove(held_.begin(), held_.end(), code), held_.end());
    return Verdict::Swallowed;
  }
  // A held key's repeats switch nothing: holding F11 must not make the
  // window flicker between its modes.
  if (IsHeld(code)) return Verdict::Swallowed;
  // Enter pressed before Alt came down went to the game, and so do its
  // repeats.
  if (key.repeat) return f11 ? Verdict::Swallowed : Verdict::ForTheGame;
  if (!IsToggle(key.keysym)) return Verdict::ForTheGame;
  held_.push_back(code);
  return Verdict::ToggleFullscreen;
}

}  // namespace orvo::sdl
