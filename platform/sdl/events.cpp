// SDL's events as the shell's input events. The window keeps its own keys
// (the full screen) and handles nothing else itself; the gamepads' events go
// through their mapping (gamepads.h).
#include "platform/sdl/keys.h"
#include "platform/sdl/sdl_platform.h"

namespace orvo::sdl {

bool SdlPlatform::KeptByTheWindow(const SDL_KeyboardEvent& key) {
  switch (window_keys_.Judge(key)) {
    case WindowKeys::Verdict::ForTheGame:
      return false;
    case WindowKeys::Verdict::ToggleFullscreen:
      // The window's new size comes back as a size-changed event, which
      // redraws the picture.
      window_.ToggleFullscreen();
      return true;
    case WindowKeys::Verdict::Swallowed:
      return true;
  }
  return true;
}

void SdlPlatform::NoteClose(std::uint32_t queuedAt) {
  // A request queued before the last wait ended should have ended the
  // program in that wait; the record says so, for the end-to-end test.
  record_.CloseFromEvents(static_cast<std::int64_t>(queuedAt) < last_wait_end_);
}

void SdlPlatform::Translate(const SDL_Event& event, std::vector<app::InputEvent>& out) {
  using Kind = app::InputEvent::Kind;
  if (gamepads_.Handle(event, out)) return;
  switch (event.type) {
    case SDL_QUIT:
      NoteClose(event.quit.timestamp);
      out.push_back(app::InputEvent{Kind::Close});
      return;
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          NoteClose(event.window.timestamp);
          out.push_back(app::InputEvent{Kind::Close});
          return;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED:
          out.push_back(app::InputEvent{Kind::Expose});
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
      if (down && !event.key.repeat) {
        record_.KeyDown(code, static_cast<Uint32>(SDL_GetTicks() - event.key.timestamp));
      }
      out.push_back(app::InputEvent{down ? Kind::KeyDown : Kind::KeyUp, code});
      return;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      // Only the left button presses captions. Coordinates are in the
      // window's logical size: the renderer scales them back.
      if (event.button.button != SDL_BUTTON_LEFT) return;
      out.push_back(
          app::InputEvent{event.type == SDL_MOUSEBUTTONDOWN ? Kind::PointerDown : Kind::PointerUp,
                          0, event.button.x, event.button.y});
      return;
    case SDL_MOUSEMOTION:
      out.push_back(app::InputEvent{Kind::PointerMove, 0, event.motion.x, event.motion.y});
      return;
    default:
      return;
  }
}

}  // namespace orvo::sdl
