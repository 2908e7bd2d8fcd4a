#include "app/window_keys.h"

#include <algorithm>

namespace orvo::app {

bool WindowKeys::IsHeld(Key key) const {
  return std::find(held_.begin(), held_.end(), key) != held_.end();
}

WindowKeys::Verdict WindowKeys::Judge(const Press& press) {
  // F11 is the window's alone, also a repeat or release of a press that it
  // never saw (made before the window had the keyboard).
  const bool f11 = press.key == Key::F11;
  if (!press.down) {
    if (!IsHeld(press.key)) return f11 ? Verdict::Swallowed : Verdict::ForTheGame;
    held_.erase(std::remove(held_.begin(), held_.end(), press.key), held_.end());
    return Verdict::Swallowed;
  }
  // A held key's repeats switch nothing: holding F11 must not make the
  // window flicker between its modes.
  if (IsHeld(press.key)) return Verdict::Swallowed;
  // Enter pressed before Alt came down went to the game, and so do its
  // repeats.
  if (press.repeat) return f11 ? Verdict::Swallowed : Verdict::ForTheGame;
  // Alt+Enter with either Alt; with Ctrl or the logo key as well it is some
  // other shortcut, and Enter goes to the game as before.
  const bool altEnter = press.key == Key::Enter && press.alt && !press.ctrlOrLogo;
  if (!f11 && !altEnter) return Verdict::ForTheGame;
  held_.push_back(press.key);
  return Verdict::ToggleFullscreen;
}

}  // namespace orvo::app
