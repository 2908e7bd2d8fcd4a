// The table of key states that the window's key events fill in.
#pragma once

#include <array>
#include <cstdint>

#include "app/input_event.h"

namespace orvo::app {

struct KeyState {
  bool Pressed = false;       // held down; for Enter: a press waiting to act
  std::int64_t NextTime = 0;  // the tick count must exceed this before the key acts again
};

// One state for each virtual-key code, 0 to 255.
class KeyTable {
 public:
  static constexpr int kSize = 256;
  static constexpr bool Holds(Key key) { return CodeOf(key) >= 0 && CodeOf(key) < kSize; }
  KeyState& operator[](Key key) { return states_[static_cast<std::size_t>(CodeOf(key))]; }
  const KeyState& operator[](Key key) const {
    return states_[static_cast<std::size_t>(CodeOf(key))];
  }
  auto begin() const { return states_.begin(); }
  auto end() const { return states_.end(); }

 private:
  std::array<KeyState, kSize> states_{};
};

}  // namespace orvo::app
