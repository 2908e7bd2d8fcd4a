// The levels of the blocks that enter the board.
#include "game/arithmetic.h"
#include "game/game.h"

namespace orvo::game {

namespace {

std::int32_t LevelForDraw(double r) {
  if (r < 400) return 1;
  if (r < 700) return 2;
  if (r < 900) return 3;
  return 4;
}

}  // namespace

std::int32_t Game::RandomBlock(std::int32_t exclude) {
  // x * 1000 is exact in double precision for a single-precision x.
  const float x = services_.NextRandom();
  const double r = RoundHalfEven(static_cast<double>(x) * 1000.0);
  const std::int32_t value = LevelForDraw(r);
  // One re-draw at most, kept whatever it gives.
  if (value == exclude) return RandomBlock(0);
  return value;
}

}  // namespace orvo::game
