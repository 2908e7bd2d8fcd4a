// The window's picture, composed the same way for every platform: the
// window's background, the board surface at Front and the visible labels,
// at the window's logical size (580 x 388), through gfx's BitBlt and mask
// blending (and so gfx's one clip). It also lays the labels out: where each
// caption's text lies and which caption a point is on.
#pragma once

#include <array>
#include <string>

#include "app/app.h"
#include "app/form.h"
#include "app/platform.h"
#include "gfx/alpha_mask.h"
#include "gfx/surface.h"

namespace orvo::app {

struct TextBox {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

class FrameComposer {
 public:
  explicit FrameComposer(const LabelText& text) : text_(text) {}

  void SetBackground(gfx::Surface background) { background_ = std::move(background); }
  // Composes the whole window from `view`; the picture stays valid until
  // the next call.
  const gfx::Surface& Compose(const FrameView& view);
  // Where `c`'s text lies in window coordinates, anchored as the label's
  // alignment says; empty when the caption has no text.
  TextBox BoxOf(const FrameView& view, game::Control c);
  // The index of the visible lblAction caption whose text lies under (x, y),
  // or -1.
  int ActionAt(const FrameView& view, int x, int y);

 private:
  // A label's rendered caption, kept until its text or face changes.
  struct RenderedLabel {
    bool valid = false;
    std::string caption;
    FontFace face = FontFace::Fixedsys;
    gfx::AlphaMask mask;
  };
  const gfx::AlphaMask& Rendered(const FrameView& view, game::Control c);

  const LabelText& text_;
  gfx::Surface background_;
  gfx::Surface picture_{kClientWidth, kClientHeight};
  std::array<RenderedLabel, game::kControlCount> labels_;
};

}  // namespace orvo::app
