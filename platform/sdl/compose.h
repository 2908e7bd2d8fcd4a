// Composes the window's picture: the background, the board surface at Front
// and the visible labels, at the window's logical size.
#pragma once

#include <SDL2/SDL_render.h>

#include <array>
#include <cstddef>
#include <string>

#include "app/app.h"
#include "app/form.h"
#include "game/board_geometry.h"
#include "gfx/surface.h"
#include "platform/sdl/fonts.h"

namespace orvo::sdl {

class Composer {
 public:
  Composer(SDL_Renderer* renderer, const FontSet& fonts);
  ~Composer();
  Composer(const Composer&) = delete;
  Composer& operator=(const Composer&) = delete;

  // The window's background picture from an encoded image in memory.
  bool SetBackground(const unsigned char* data, std::size_t size, std::string& error);
  // Takes the board surface's current image; it is shown from the next Draw.
  void UploadFront(const gfx::Surface& front);
  // Draws the whole window into the renderer (the caller presents it).
  void Draw(const app::FrameView& view);
  // The rectangle of `c`'s rendered text in window coordinates, anchored as
  // the label's alignment says; empty when the caption has no text.
  SDL_Rect TextBox(const app::FrameView& view, game::Control c);

 private:
  // A label's rendered caption, kept until its text, colour or font changes.
  struct RenderedLabel {
    bool valid = false;
    std::string caption;
    gfx::Color color = 0;
    app::FontFace font = app::FontFace::Fixedsys;
    SDL_Texture* texture = nullptr;
    int width = 0;
    int height = 0;
  };
  RenderedLabel& Rendered(const app::FrameView& view, game::Control c);

  SDL_Renderer* renderer_;
  const FontSet& fonts_;
  SDL_Texture* background_ = nullptr;
  SDL_Texture* front_ = nullptr;
  std::array<RenderedLabel, game::kControlCount> labels_;
};

}  // namespace orvo::sdl
