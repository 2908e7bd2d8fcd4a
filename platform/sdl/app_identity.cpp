#include "platform/sdl/app_identity.h"

#include <SDL2/SDL.h>

#include <cstdlib>

namespace orvo::sdl {

void NameTheApplication() {
  // SDL's X11 driver takes WM_CLASS from SDL_VIDEO_X11_WMCLASS; its Wayland
  // driver takes the app id from SDL_VIDEO_WAYLAND_WMCLASS and, without it,
  // from the X11 variable. So a user who named only the X11 class keeps it
  // on Wayland too: the Wayland variable is set only when neither is.
  const bool userNamedX11 = std::getenv("SDL_VIDEO_X11_WMCLASS") != nullptr;
  const bool userNamedWayland = std::getenv("SDL_VIDEO_WAYLAND_WMCLASS") != nullptr;
  if (!userNamedX11) setenv("SDL_VIDEO_X11_WMCLASS", kDesktopId, 0);
  if (!userNamedX11 && !userNamedWayland) setenv("SDL_VIDEO_WAYLAND_WMCLASS", kDesktopId, 0);
  // At normal priority an SDL_APP_NAME in the environment still wins.
  SDL_SetHint(SDL_HINT_APP_NAME, kAppName);
}

}  // namespace orvo::sdl
