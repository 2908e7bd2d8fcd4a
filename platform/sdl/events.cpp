// SDL's events as the shell's input events. The window keeps its own keys
// (the full screen) and handles nothing else itself; the gamepads' events
// are the pads' own (gamepads.h).
#include "platform/sdl/keys.h"
#include "platform/sdl/sdl_platform.h"

namespace orvo::sdl {

bool SdlPlatform::KeptByTheWindow(const SDL_KeyboardEvent& key) {
  const int code = VirtualKeyFor(key.keysym.sym);
  if (code < 0) return false;
  const app::WindowKeys::Press press{app::Key{code}, key.type == SDL_KEYDOWN, key.repeat != 0,
                                     (key.keysym.mod & KMOD_ALT) != 0,
                                     (key.keysym.mod & (KMOD_CTRL | KMOD_GUI)) != 0};
  switch (window_keys_.Judge(press)) {
    case app::WindowKeys::Verdict::ForTheGame:
      return false;
    case app::WindowKeys::Verdict::ToggleFullscreen:
      // The window's new size comes back as a size-changed event, which
      // redraws the picture.
      window_.ToggleFullscreen();
      return true;
    case app::WindowKeys::Verdict::Swallowed:
      return true;
  }
  return true;
}

void SdlPlatform::Translate(const SDL_Event& event, std::vector<app::InputEvent>& out) {
  using app::InputEvent;
  using Kind = InputEvent::Kind;
  if (gamepads_.Handle(event, out)) return;
  switch (event.type) {
    case SDL_QUIT:
      out.push_back(InputEvent::Of(Kind::Close));
      return;
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          out.push_back(InputEvent::Of(Kind::Close));
          return;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED:
          out.push_back(InputEvent::Of(Kind::Expose));
          return;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          window_keys_.Reset();
          out.push_back(InputEvent::Of(Kind::FocusLost));
          return;
        default:
          return;
      }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      if (KeptByTheWindow(event.key)) return;
      const int code = VirtualKeyFor(event.key.keysym.sym);
      if (code < 0) return;
      const bool down = event.type == SDL_KEYDOWN;
      out.push_back(InputEvent::KeyEvent(down ? Kind::KeyDown : Kind::KeyUp, app::Key{code}));
      return;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      // Only the left button presses captions. Coordinates are in the
      // window's logical size: the renderer scales them back.
      if (event.button.button != SDL_BUTTON_LEFT) return;
      out.push_back(InputEvent::Pointer(
          event.type == SDL_MOUSEBUTTONDOWN ? Kind::PointerDown : Kind::PointerUp, event.button.x,
          event.button.y));
      return;
    case SDL_MOUSEMOTION:
      out.push_back(InputEvent::Pointer(Kind::PointerMove, event.motion.x, event.motion.y));
      return;
    default:
      return;
  }
}

}  // namespace orvo::sdl
