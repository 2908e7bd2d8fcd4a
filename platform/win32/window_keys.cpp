#include "platform/win32/window_keys.h"

#include <algorithm>

namespace orvo::win32 {

WindowKeys::Verdict WindowKeys::Judge(int key, bool down, bool alt) {
  const auto held = std::find(held_.begin(), held_.end(), key);
  if (!down) {
    if (held == held_.end()) return Verdict::ForTheGame;
    held_.erase(held);
    return Verdict::Swallowed;
  }
  // A repeat of a key the window took.
  if (held != held_.end()) return Verdict::Swallowed;
  if (key == kVkF11 || (key == kVkReturn && alt)) {
    held_.push_back(key);
    return Verdict::ToggleFullscreen;
  }
  return Verdict::ForTheGame;
}

}  // namespace orvo::win32
