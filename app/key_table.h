// The table of key states that the window's key events fill in.
#pragma once

#include <array>
#include <cstdint>

namespace orvo::app {

inline constexpr int VK_RETURN = 13;
inline constexpr int VK_ESCAPE = 27;
inline constexpr int VK_LEFT = 37;
inline constexpr int VK_UP = 38;
inline constexpr int VK_DOWN = 40;

struct KeyState {
  bool Pressed = false;       // held down; for Enter: a press waiting to act
  std::int64_t NextTime = 0;  // the tick count must exceed this before the key acts again
};

using KeyTable = std::array<KeyState, 256>;

}  // namespace orvo::app
