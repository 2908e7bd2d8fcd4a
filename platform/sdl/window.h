// The window and its picture: created hidden with its icon and fonts; the
// shell's frames are presented in it at a whole-multiple scale.
#pragma once

#include <SDL2/SDL.h>

#include <memory>
#include <string>

#include "gfx/surface.h"
#include "platform/sdl/fonts.h"

namespace orvo::sdl {

class Window {
 public:
  Window() = default;
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Starts SDL's video, finds the fonts, creates the window (hidden) and its
  // renderer. False with `error` set when it cannot.
  bool Open(std::string& error);
  // Shows the window with `frame` in it.
  void Show(const gfx::Surface& frame);
  bool IsOpen() const { return window_ != nullptr; }
  // Destroys the window and ends SDL; nothing happens when it is not open.
  void Close();

  // Shows `frame` (the window's logical size) now.
  void Present(const gfx::Surface& frame);

  // Switches between the window and the full screen (the desktop's own
  // mode: no change of the display's resolution). The picture keeps its
  // whole-multiple scale, centred on black. Leaving the full screen gives
  // the window back its size from before.
  void ToggleFullscreen();
  bool IsFullscreen() const;

  SDL_Window* Handle() const { return window_; }
  SDL_Renderer* Renderer() const { return renderer_; }
  // The label fonts; null while the window is not open.
  const FontSet* Fonts() const { return fonts_.get(); }

 private:
  void EnterFullscreen();
  void LeaveFullscreen();

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  std::unique_ptr<FontSet> fonts_;
  SDL_Texture* frame_ = nullptr;
  // Where there is no window manager to grant SDL's full screen, the
  // window covers the display itself.
  bool fills_display_ = false;
  // The window's place and size before the full screen; empty when it was
  // maximised or the full screen did not come from this program.
  SDL_Rect windowed_{};
};

}  // namespace orvo::sdl
