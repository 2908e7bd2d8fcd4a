// The window's picture as the page shows it: the background, the board
// surface at Front and the visible labels, composed at the window's logical
// size (580 x 388) and handed to the page's canvas.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/app.h"
#include "gfx/surface.h"
#include "platform/web/glyph_atlas.h"

namespace orvo::web {

struct TextBox {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

class Frame {
 public:
  void SetBackground(gfx::Surface background) { background_ = std::move(background); }
  void SetGlyphs(GlyphAtlas glyphs) { glyphs_ = std::move(glyphs); }

  // Composes the whole window from `view`.
  void Compose(const app::FrameView& view);
  // Shows the last composed picture on the page's canvas.
  void Show();
  // Where `c`'s text lies in window coordinates, anchored as the label's
  // alignment says; empty when the caption has no text.
  TextBox BoxOf(const app::FrameView& view, game::Control c) const;
  // The index of the lblAction caption under (x, y), or -1.
  int ActionAt(const app::FrameView& view, int x, int y) const;

  const gfx::Surface& Picture() const { return picture_; }

 private:
  gfx::Surface background_;
  std::optional<GlyphAtlas> glyphs_;
  gfx::Surface picture_{app::kClientWidth, app::kClientHeight};
  std::vector<std::uint32_t> rgba_;
};

}  // namespace orvo::web
