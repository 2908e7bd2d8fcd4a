// Repainting the whole board, and the merge animation.
#include "game/game.h"
#include "gfx/bitblt.h"

namespace orvo::game {

void Game::DrawBoard() {
  // Outside a game the board surface keeps what it shows (the game-over grid).
  if (!state_.Running) return;
  if (graphics_.surfaces != nullptr) {
    const gfx::BitmapEntry& back = Picture(graphics_.BackBitmap);
    gfx::BitBlt(*graphics_.surfaces, graphics_.FrontDC, 0, 0, back.Width, back.Height, back.DC, 0,
                0, gfx::RasterOp::SRCCOPY);
  }
  for (std::int32_t y = 0; y <= MaxRow; ++y) {
    for (std::int32_t x = 0; x <= MaxCol; ++x) {
      if (board_(x, y) >= 1) DrawBlock(x, y, board_(x, y), 0);
    }
  }
  services_.RefreshFront();
}

void Game::AnimateMerge(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                        std::int32_t newValue) {
  for (std::int32_t k = 0; k <= 5; ++k) {
    // The pause comes before each frame, the first one included.
    services_.Wait(FrameDelay);
    RestoreCell(x1, y1);
    RestoreCell(x2, y2);
    DrawBlock(x1, y1, newValue, 0);
    DrawBlock(x1, y1, board_(x1, y1), k);
    DrawBlock(x2, y2, board_(x2, y2), k);
    services_.RefreshFront();
  }
}

}  // namespace orvo::game
