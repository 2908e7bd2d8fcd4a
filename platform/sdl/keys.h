// The keyboard as the game's key table sees it: SDL keys as Windows
// virtual-key codes.
#pragma once

#include <SDL2/SDL_keyboard.h>

namespace orvo::sdl {

// The virtual-key code of `key`, or -1 for a key that has none.
int VirtualKeyFor(SDL_Keycode key);

}  // namespace orvo::sdl
