// Whether a window manager looks after the window. On an X server without
// one (a bare Xvfb, a kiosk), SDL's full screen only asks for a state that
// nobody grants: the window keeps its size while SDL draws for the whole
// screen. The window then fills the screen by itself.
#pragma once

#include <SDL2/SDL_video.h>

namespace orvo::sdl {

// False only for a window on an X server whose root window names no
// window manager (_NET_SUPPORTING_WM_CHECK, which every EWMH window
// manager sets); true elsewhere and whenever it cannot be told.
bool WindowManagerRuns(SDL_Window* window);

}  // namespace orvo::sdl
