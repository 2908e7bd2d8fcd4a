#include "platform/web/frame.h"

#include <emscripten.h>

#include <algorithm>

#include "game/board_geometry.h"

namespace orvo::web {

namespace {

// Copies `source` onto `target` at (x, y), clipped to the target.
void Place(gfx::Surface& target, const gfx::Surface& source, int x, int y) {
  const int top = std::max(0, -y);
  const int bottom = std::min(source.Height(), target.Height() - y);
  const int left = std::max(0, -x);
  const int right = std::min(source.Width(), target.Width() - x);
  if (left >= right) return;
  for (int row = top; row < bottom; ++row) {
    const gfx::Color* from = source.Row(row) + left;
    std::copy(from, from + (right - left), target.Row(row + y) + x + left);
  }
}

// clang-format off
EM_JS(void, orvo_show_frame, (const std::uint32_t* rgba, int width, int height), {
  if (Module.orvoShowFrame) {
    Module.orvoShowFrame(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4), width,
                         height);
  }
});
// clang-format on

}  // namespace

TextBox Frame::BoxOf(const app::FrameView& view, game::Control c) const {
  const app::ControlData& layout = view.Layout[c];
  const std::string& caption = view.Labels[c].Caption;
  const int width = glyphs_ ? glyphs_->TextWidth(layout.Font, caption) : 0;
  const int height = glyphs_ && !caption.empty() ? glyphs_->LineHeight(layout.Font) : 0;
  int x = layout.Left;
  if (layout.Align == app::Alignment::Right) x = layout.Left + layout.Width - width;
  if (layout.Align == app::Alignment::Centre) x = layout.Left + layout.Width / 2 - width / 2;
  int y = layout.Top;
  if (layout.InsideFront) {
    x += app::kFrontLeft;
    y += app::kFrontTop;
  }
  return TextBox{x, y, width, height};
}

int Frame::ActionAt(const app::FrameView& view, int x, int y) const {
  for (int index = 0; index < 2; ++index) {
    const game::Control c = index == 0 ? game::Control::lblAction0 : game::Control::lblAction1;
    if (!view.Labels[c].Visible) continue;
    if (BoxOf(view, c).Contains(x, y)) return index;
  }
  return -1;
}

void Frame::Compose(const app::FrameView& view) {
  picture_.Fill(0);
  Place(picture_, background_, 0, 0);
  if (view.Board) Place(picture_, *view.Board, app::kFrontLeft, app::kFrontTop);
  if (!glyphs_) return;
  for (int i = 0; i < game::kControlCount; ++i) {
    const auto c = static_cast<game::Control>(i);
    const game::LabelState& label = view.Labels[c];
    if (!label.Visible || label.Caption.empty()) continue;
    const TextBox box = BoxOf(view, c);
    glyphs_->DrawText(picture_, box.x, box.y, view.Layout[c].Font, label.Caption, label.TextColor);
  }
}

void Frame::Show() {
  // Board colours are 0x00BBGGRR words, which are the bytes R, G, B, 0: the
  // canvas's RGBA with an alpha to make opaque.
  const std::vector<gfx::Color>& pixels = picture_.Pixels();
  rgba_.resize(pixels.size());
  for (std::size_t i = 0; i < pixels.size(); ++i) rgba_[i] = pixels[i] | 0xFF000000u;
  orvo_show_frame(rgba_.data(), picture_.Width(), picture_.Height());
}

}  // namespace orvo::web
