#include "app/frame_composer.h"

#include "game/board_geometry.h"
#include "gfx/bitblt.h"

namespace orvo::app {

const gfx::AlphaMask& FrameComposer::Rendered(const FrameView& view, game::Control c) {
  const std::string& caption = view.Labels[c].Caption;
  const FontFace face = view.Layout[c].Font;
  RenderedLabel& label = labels_[static_cast<int>(c)];
  if (!label.valid || label.caption != caption || label.face != face) {
    label.valid = true;
    label.caption = caption;
    label.face = face;
    label.mask = caption.empty() ? gfx::AlphaMask{} : text_.Render(face, caption);
  }
  return label.mask;
}

TextBox FrameComposer::BoxOf(const FrameView& view, game::Control c) {
  const ControlData& layout = view.Layout[c];
  const gfx::AlphaMask& text = Rendered(view, c);
  int x = layout.Left;
  if (layout.Align == Alignment::Right) x = layout.Left + layout.Width - text.Width;
  if (layout.Align == Alignment::Centre) x = layout.Left + layout.Width / 2 - text.Width / 2;
  int y = layout.Top;
  if (layout.InsideFront) {
    x += kFrontLeft;
    y += kFrontTop;
  }
  return TextBox{x, y, text.Width, text.Height};
}

int FrameComposer::ActionAt(const FrameView& view, int x, int y) {
  for (int index = 0; index < 2; ++index) {
    const game::Control c = index == 0 ? game::Control::lblAction0 : game::Control::lblAction1;
    if (!view.Labels[c].Visible) continue;
    if (BoxOf(view, c).Contains(x, y)) return index;
  }
  return -1;
}

const gfx::Surface& FrameComposer::Compose(const FrameView& view) {
  // Black where the background does not reach (the background usually
  // covers the whole window, and the fill is then skipped).
  if (background_.Width() < kClientWidth || background_.Height() < kClientHeight) {
    picture_.Fill(gfx::kBlack);
  }
  gfx::BitBlt(picture_, 0, 0, background_.Width(), background_.Height(), background_, 0, 0,
              gfx::RasterOp::SRCCOPY);
  if (view.Board) {
    gfx::BitBlt(picture_, kFrontLeft, kFrontTop, view.Board->Width(), view.Board->Height(),
                *view.Board, 0, 0, gfx::RasterOp::SRCCOPY);
  }
  for (int i = 0; i < game::kControlCount; ++i) {
    const auto c = static_cast<game::Control>(i);
    const game::LabelState& label = view.Labels[c];
    if (!label.Visible || label.Caption.empty()) continue;
    const TextBox box = BoxOf(view, c);
    gfx::BlendMask(picture_, box.x, box.y, Rendered(view, c), label.TextColor);
  }
  return picture_;
}

}  // namespace orvo::app
