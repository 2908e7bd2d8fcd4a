// The end of a game: the final texts over a darkened board.
#include "game/arithmetic.h"
#include "game/game.h"
#include "gfx/bitblt.h"

namespace orvo::game {

void Game::GameOver() {
  state_.PairActive = false;
  state_.Running = false;
  labels_.SetCaption(Control::lblAction0, "Start");
  labels_.SetTag(Control::lblAction0, "start");
  labels_.SetCaption(Control::lblScore, std::to_string(state_.Points));
  labels_.SetCaption(Control::lblMaxReactions, std::to_string(state_.MaxReactions));
  DrawGridOverlay();
  labels_.SetVisible(Control::Label3, true);
  labels_.SetVisible(Control::Label4, true);
  labels_.SetVisible(Control::lblScore, true);
  labels_.SetVisible(Control::lblMaxReactions, true);
  services_.RefreshFront();
}

void Game::DrawGridOverlay() {
  const gfx::BitmapEntry& grid = Picture(graphics_.GridBitmap);
  // A grid picture without pixels has nothing to lay (and would give no tile count).
  if (graphics_.surfaces == nullptr || grid.Width <= 0 || grid.Height <= 0) return;
  // One tile more than the quotient in each direction; the surplus is clipped.
  const auto rows =
      static_cast<std::int64_t>(RoundHalfEven(static_cast<double>(kFrontHeight) / grid.Height));
  for (std::int64_t i = 0; i <= rows; ++i) {
    const auto columns =
        static_cast<std::int64_t>(RoundHalfEven(static_cast<double>(kFrontWidth) / grid.Width));
    for (std::int64_t j = 0; j <= columns; ++j) {
      gfx::BitBlt(*graphics_.surfaces, graphics_.FrontDC, static_cast<int>(j * grid.Width),
                  static_cast<int>(i * grid.Height), grid.Width, grid.Height, grid.DC, 0, 0,
                  gfx::RasterOp::SRCAND);
    }
  }
}

}  // namespace orvo::game
