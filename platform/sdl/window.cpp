#include "platform/sdl/window.h"

#include <SDL2/SDL_image.h>

#include <algorithm>

#include "app/form.h"
#include "app/window_scale.h"
#include "platform/sdl/app_identity.h"
#include "platform/sdl/embedded.h"
#include "platform/sdl/message_box.h"
#include "platform/sdl/window_manager.h"

namespace orvo::sdl {

Window::~Window() {
  Close();
}

bool Window::Open(std::string& error) {
  NameTheApplication();
  // A cascade refreshes the board many times in a row: presents never wait
  // for the display's vertical blank.
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  // The picture is small and changes in small steps: SDL's software renderer
  // presents it in well under a millisecond without loading a GL driver
  // (which would multiply the program's memory and start-up time). The
  // SDL_RENDER_DRIVER environment variable still picks another.
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // The click that brings the window to the front also counts.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  // An ordinary desktop window: the compositor keeps running, and the screen
  // saver may start (play itself is typing, which keeps it away).
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  // Video and its events; the platform starts the game controllers once the
  // window is open (gamepads.h), where a failure costs only the pads.
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    error = std::string("Cannot open the window: ") + SDL_GetError();
    return false;
  }
  // Without a display SDL falls back to a driver that draws nowhere; the
  // program would then run unseen. Only a caller that asks for such a driver
  // by name (SDL_VIDEODRIVER) gets it. When a display is named but could not
  // be reached, the message says which one.
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  if (IsScreenlessDriver(driver) && !(asked && SDL_strcasecmp(asked, driver) == 0)) {
    const std::string named = DisplayName();
    error = named.empty() ? "Cannot open the window: no display"
                          : "Cannot open the window: cannot connect to the display " + named;
    Close();
    return false;
  }
  // Without the fonts the window would show no labels and no Start or Exit
  // to click: that is a start-up failure, reported before any window.
  fonts_ = std::make_unique<FontSet>();
  if (!fonts_->Missing().empty()) {
    error = "Cannot show the window's labels: " + fonts_->Missing();
    Close();
    return false;
  }
  SDL_Rect usable{0, 0, app::kClientWidth, app::kClientHeight};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) SDL_GetDisplayBounds(0, &usable);
  const int scale = app::WindowScale(usable.w, usable.h);
  window_ = SDL_CreateWindow(app::kWindowCaption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             app::kClientWidth * scale, app::kClientHeight * scale,
                             SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (!window_) {
    error = std::string("Cannot open the window: ") + SDL_GetError();
    Close();
    return false;
  }
  SDL_SetWindowMinimumSize(window_, app::kClientWidth, app::kClientHeight);
  if (SDL_RWops* rw = SDL_RWFromConstMem(embedded::kIcon, static_cast<int>(embedded::kIconSize))) {
    if (SDL_Surface* icon = IMG_Load_RW(rw, 1)) {
      SDL_SetWindowIcon(window_, icon);
      SDL_FreeSurface(icon);
    }
  }
  renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (!renderer_) {
    error = std::string("Cannot draw in the window: ") + SDL_GetError();
    Close();
    return false;
  }
  // The window's picture is drawn at its logical size and scaled by whole
  // multiples with square pixels; the rest of a larger window is a black border.
  SDL_RenderSetLogicalSize(renderer_, app::kClientWidth, app::kClientHeight);
  SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
  // Frame pixels are 0x00BBGGRR words: red in the low byte.
  frame_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_XBGR8888, SDL_TEXTUREACCESS_STREAMING,
                             app::kClientWidth, app::kClientHeight);
  if (!frame_) {
    error = std::string("Cannot draw in the window: ") + SDL_GetError();
    Close();
    return false;
  }
  SDL_SetTextureBlendMode(frame_, SDL_BLENDMODE_NONE);
  SDL_SetTextureScaleMode(frame_, SDL_ScaleModeNearest);
  // Keys only: no text input or input-method windows.
  SDL_StopTextInput();
  return true;
}

void Window::Show(const gfx::Surface& frame) {
  if (!window_) return;
  SDL_ShowWindow(window_);
  Present(frame);
}

void Window::Close() {
  if (frame_) SDL_DestroyTexture(frame_);
  frame_ = nullptr;
  fonts_.reset();
  if (renderer_) SDL_DestroyRenderer(renderer_);
  renderer_ = nullptr;
  if (window_) SDL_DestroyWindow(window_);
  window_ = nullptr;
  fills_display_ = false;
  windowed_ = SDL_Rect{};
  if (SDL_WasInit(0) != 0) {
    IMG_Quit();
    SDL_Quit();
  }
}

void Window::Present(const gfx::Surface& frame) {
  if (!renderer_ || !frame_) return;
  if (frame.Width() != app::kClientWidth || frame.Height() != app::kClientHeight) return;
  SDL_UpdateTexture(frame_, nullptr, frame.Pixels().data(),
                    frame.Width() * static_cast<int>(sizeof(gfx::Color)));
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, frame_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
}

bool Window::IsFullscreen() const {
  if (!window_) return false;
  // Asked of SDL each time: a window manager may also end the full screen
  // by a shortcut of its own.
  return fills_display_ || (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
}

void Window::ToggleFullscreen() {
  if (!window_) return;
  if (IsFullscreen()) {
    LeaveFullscreen();
  } else {
    EnterFullscreen();
  }
}

void Window::EnterFullscreen() {
  SDL_GetWindowPosition(window_, &windowed_.x, &windowed_.y);
  SDL_GetWindowSize(window_, &windowed_.w, &windowed_.h);
  // A maximised window gets its state back from the window manager; a size
  // asked for on top would undo it.
  if (SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED) windowed_ = SDL_Rect{};
  if (WindowManagerRuns(window_)) {
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    return;
  }
  // No window manager: nothing frames or moves the window, so taking the
  // display's whole area is all a full screen is.
  SDL_Rect display{};
  const int index = SDL_GetWindowDisplayIndex(window_);
  if (SDL_GetDisplayBounds(index < 0 ? 0 : index, &display) != 0) return;
  fills_display_ = true;
  SDL_SetWindowPosition(window_, display.x, display.y);
  SDL_SetWindowSize(window_, display.w, display.h);
  SDL_RaiseWindow(window_);
}

void Window::LeaveFullscreen() {
  const bool filled = fills_display_;
  fills_display_ = false;
  if (!filled) SDL_SetWindowFullscreen(window_, 0);
  // SDL puts the window back where it was but leaves its size to the window
  // manager, and not every one (nor SDL's offscreen driver) hands it back.
  // No size is known when the full screen came from elsewhere.
  if (windowed_.w > 0 && windowed_.h > 0) {
    SDL_SetWindowSize(window_, windowed_.w, windowed_.h);
    if (filled) SDL_SetWindowPosition(window_, windowed_.x, windowed_.y);
  }
  windowed_ = SDL_Rect{};
}

}  // namespace orvo::sdl
