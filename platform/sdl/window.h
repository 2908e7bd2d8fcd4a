// The window and its picture: created hidden with its icon, fonts and
// background, composed from the application's view and presented.
#pragma once

#include <SDL2/SDL.h>

#include <memory>
#include <string>

#include "app/app.h"
#include "platform/sdl/compose.h"
#include "platform/sdl/fonts.h"

namespace orvo::sdl {

class Window {
 public:
  Window() = default;
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Starts SDL's video, finds the fonts, creates the window (hidden), its
  // renderer and its background. False with `error` set when it cannot.
  bool Open(std::string& error);
  // Shows the window with `view` in it.
  void Show(const app::FrameView& view);
  bool IsOpen() const { return window_ != nullptr; }
  // Destroys the window and ends SDL; nothing happens when it is not open.
  void Close();

  // Composes `view` and shows it now; `uploadFront`: the board surface has
  // changed since the last present.
  void Present(const app::FrameView& view, bool uploadFront);
  // The index of the lblAction caption whose text lies under (x, y) in window
  // coordinates, or -1.
  int ActionAt(const app::FrameView& view, int x, int y);

  // Switches between the window and the full screen (the desktop's own
  // mode: no change of the display's resolution). The picture keeps its
  // whole-multiple scale, centred on black. Leaving the full screen gives
  // the window back its size from before.
  void ToggleFullscreen();
  bool IsFullscreen() const;

  // The window's scale: the largest whole multiple of its logical size that
  // fits comfortably in `usable`, at least 1.
  static int ChooseScale(const SDL_Rect& usable);

  SDL_Window* Handle() const { return window_; }
  SDL_Renderer* Renderer() const { return renderer_; }
  Composer* Composition() const { return composer_.get(); }

 private:
  void EnterFullscreen();
  void LeaveFullscreen();

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  std::unique_ptr<FontSet> fonts_;
  std::unique_ptr<Composer> composer_;
  // Where there is no window manager to grant SDL's full screen, the
  // window covers the display itself.
  bool fills_display_ = false;
  // The window's place and size before the full screen; empty when it was
  // maximised or the full screen did not come from this program.
  SDL_Rect windowed_{};
};

}  // namespace orvo::sdl
