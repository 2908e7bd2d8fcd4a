// The window's events as the application's handlers take them.
#include "platform/sdl/keys.h"
#include "platform/sdl/sdl_platform.h"

namespace orvo::sdl {

namespace {

// The shift state as the key and mouse handlers take it: 1 Shift, 2 Ctrl, 4 Alt.
int ShiftState(Uint16 mod) {
  int shift = 0;
  if (mod & KMOD_SHIFT) shift |= 1;
  if (mod & KMOD_CTRL) shift |= 2;
  if (mod & KMOD_ALT) shift |= 4;
  return shift;
}

}  // namespace

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

void SdlPlatform::Dispatch(const SDL_Event& event) {
  if (!app_) return;
  switch (event.type) {
    case SDL_QUIT:
      CloseRequested(event.quit.timestamp);
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          CloseRequested(event.window.timestamp);
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED:
          app_->Form_Paint();
          Present(true);
          break;
        default:
          break;
      }
      break;
    case SDL_KEYDOWN: {
      if (KeptByTheWindow(event.key)) break;
      const int code = VirtualKeyFor(event.key.keysym.sym);
      if (code < 0) break;
      if (!event.key.repeat) {
        record_.KeyDown(code, static_cast<Uint32>(SDL_GetTicks() - event.key.timestamp));
      }
      app_->Form_KeyDown(code, ShiftState(event.key.keysym.mod));
      break;
    }
    case SDL_KEYUP: {
      if (KeptByTheWindow(event.key)) break;
      const int code = VirtualKeyFor(event.key.keysym.sym);
      if (code >= 0) app_->Form_KeyUp(code, ShiftState(event.key.keysym.mod));
      break;
    }
    case SDL_MOUSEBUTTONDOWN: {
      if (event.button.button != SDL_BUTTON_LEFT || pressed_action_ >= 0) break;
      const int index = window_.ActionAt(app_->View(), event.button.x, event.button.y);
      if (index < 0) break;
      pressed_action_ = index;
      app_->lblAction_MouseDown(index);
      break;
    }
    case SDL_MOUSEBUTTONUP: {
      if (event.button.button != SDL_BUTTON_LEFT || pressed_action_ < 0) break;
      // The caption that took the press gets the release; a click only when
      // the release is over that same caption. The release comes first.
      const int index = pressed_action_;
      pressed_action_ = -1;
      app_->lblAction_MouseUp(index);
      PresentIfPending();
      if (window_.ActionAt(app_->View(), event.button.x, event.button.y) == index) {
        app_->lblAction_Click(index);
      }
      break;
    }
    default:
      break;
  }
}

}  // namespace orvo::sdl
