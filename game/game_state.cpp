// Resetting a game and writing cells.
#include "game/cell_drawing.h"
#include "game/game.h"

namespace orvo::game {

const gfx::BitmapEntry& Game::Picture(std::int32_t index) const {
  static const gfx::BitmapEntry kMissing{};
  const gfx::BitmapEntry* entry =
      graphics_.cache != nullptr ? graphics_.cache->Entry(index) : nullptr;
  return entry != nullptr ? *entry : kMissing;
}

void Game::RestoreCell(std::int32_t x, std::int32_t y) {
  if (graphics_.surfaces == nullptr) return;
  CellRestore(*graphics_.surfaces, graphics_.FrontDC, Picture(graphics_.BackBitmap), x, y);
}

void Game::DrawBlock(std::int32_t x, std::int32_t y, std::int32_t value, std::int32_t frame) {
  if (graphics_.surfaces == nullptr) return;
  BlockDraw(*graphics_.surfaces, graphics_.FrontDC, Picture(graphics_.BlocksBitmap), x, y, value,
            frame);
}

void Game::NewGame() {
  services_.ReseedRandom();
  state_.PairActive = true;
  state_.LastSlideTime = services_.TickCount();
  state_.Level = 1;
  state_.Points = 0;
  state_.MaxReactions = 0;
  state_.Reactions = 0;
  state_.Bombs = 0;
  state_.NextBombPoints = 1000;
  // Cleared is left alone: every landing sets it to 0 first.
  AddPoints(0);
  labels_.SetCaption(Control::lblLevel, std::to_string(state_.Level));
  labels_.SetCaption(Control::lblBombs, "");
  // The reset writes the grid directly: nothing is drawn. The picture of the
  // previous game stays until the board is repainted as a whole.
  board_.Clear();
  labels_.SetVisible(Control::Label3, false);
  labels_.SetVisible(Control::Label4, false);
  labels_.SetVisible(Control::lblScore, false);
  labels_.SetVisible(Control::lblMaxReactions, false);
  services_.RefreshFront();
}

std::int32_t Game::SetCell(std::int32_t column, std::int32_t row, std::int32_t value) {
  std::int32_t& cell = board_(column, row);
  if (cell == value) return 0;
  const std::int32_t old = cell;
  if (old > 0) {
    RestoreCell(column, row);
  }
  cell = value;
  // An empty cell gets no background copy: the sprite goes over whatever the
  // board surface shows there.
  if (value >= 1) {
    DrawBlock(column, row, value, 0);
  }
  return old;
}

}  // namespace orvo::game
