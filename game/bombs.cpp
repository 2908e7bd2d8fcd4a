// Bombs: the counter with its glyphs, and the blast that wipes the board.
#include <algorithm>

#include "game/arithmetic.h"
#include "game/game.h"
#include "gfx/bitblt.h"

namespace orvo::game {

namespace {

constexpr char kBombGlyph[] = "\xC2\xA4 ";  // U+00A4 and a space, once per bomb
constexpr std::int32_t kAnimationFrames = 6;
// Play never holds more than five bombs; a counter set far beyond that from
// outside still gets a label of bounded length.
constexpr std::int32_t kMostGlyphs = 100000;

}  // namespace

std::string BombsText(std::int32_t bombs) {
  std::string text;
  for (std::int32_t i = 0; i < std::min(bombs, kMostGlyphs); ++i) text += kBombGlyph;
  return text;
}

void Game::AddBombs(std::int32_t n) {
  state_.Bombs = SaturatingAdd(state_.Bombs, n);
  labels_.SetCaption(Control::lblBombs, BombsText(state_.Bombs));
}

void Game::UseBomb() {
  if (state_.Bombs > 0) {
    AddBombs(-1);
    DetonateBomb();
  }
}

void Game::DetonateBomb() {
  for (std::int32_t k = 0; k < kAnimationFrames; ++k) {
    services_.Wait(FrameDelay);
    for (std::int32_t y = 0; y <= MaxRow; ++y) {
      for (std::int32_t x = 0; x <= MaxCol; ++x) {
        const std::int32_t v = board_(x, y);
        if (v > 0) {
          RestoreCell(x, y);
          DrawBlock(x, y, v, k);
        }
      }
    }
    services_.RefreshFront();
  }
  // Every cell goes, the hidden ones too: a stray block in column 10 cannot
  // end the game at the next spawn.
  for (std::int32_t y = 0; y <= MaxRow + 1; ++y) {
    for (std::int32_t x = 0; x <= MaxCol + 2; ++x) SetCell(x, y, 0);
  }
  services_.RefreshFront();
  services_.Wait(kSpawnPause);
  state_.PairActive = true;
  SpawnPair();
}

}  // namespace orvo::game
