// The cascade after a landing: merges, removals and falls until the board is
// still, then the next pair. Written as loops; the order of drawing,
// refreshing, waiting, counting and scoring is that of the mutual calls
// "scan -> fall steps -> scan -> ... -> pause and spawn".
#include <cmath>

#include "game/arithmetic.h"
#include "game/game.h"

namespace orvo::game {

namespace {

constexpr std::int32_t kHighestLevel = 5;

}  // namespace

void Game::ResolveReactions() {
  while (ScanForMerges()) FallUntilStill();
  services_.RefreshFront();
  services_.Wait(kSpawnPause);
  state_.PairActive = true;
  SpawnPair();
}

bool Game::ScanForMerges() {
  bool merged = false;
  // Column by column, top to bottom; only right-hand and lower neighbours are
  // compared, so equal blocks are found only from their left or upper cell.
  for (std::int32_t c = 0; c <= MaxCol; ++c) {
    for (std::int32_t r = 0; r <= MaxRow; ++r) {
      if (board_(c, r) <= 0) continue;
      // Column 10 is read as the right-hand neighbour of column 9.
      if (board_(c, r) == board_(c + 1, r)) {
        merged = true;
        Merge(c, r, c + 1, r);
      }
      // Compared with the value the cell holds now, after a merge to the right.
      if (board_(c, r) == board_(c, r + 1)) {
        merged = true;
        Merge(c, r, c, r + 1);
      }
      if (board_(c, r) > kHighestLevel) {
        // A block past the highest level vanishes. It is not redrawn: the
        // burst that the merge drew stays until something covers the cell.
        board_(c, r) = 0;
        state_.Cleared = SaturatingAdd(state_.Cleared, 1);
        const double amount =
            std::pow(2.0, state_.Cleared - 1) * 1000.0 +
            static_cast<double>((static_cast<std::int64_t>(state_.Level) + 100) * state_.Reactions);
        AddPoints(SaturateToInt32(RoundHalfEven(amount)));
      }
    }
  }
  return merged;
}

void Game::Merge(std::int32_t column, std::int32_t row, std::int32_t otherColumn,
                 std::int32_t otherRow) {
  const std::int32_t v = board_(column, row);
  AnimateMerge(column, row, otherColumn, otherRow, v + 1);
  SetCell(column, row, board_(column, row) + 1);
  SetCell(otherColumn, otherRow, 0);
  state_.Reactions = SaturatingAdd(state_.Reactions, 1);
  UpdateReactions();
  // The exponent is the level of the two blocks that merged.
  const double amount = std::pow(state_.Reactions / 10.0 + 1.0, board_(column, row) - 1) +
                        static_cast<double>(4 * static_cast<std::int64_t>(state_.Level));
  AddPoints(SaturateToInt32(RoundHalfEven(amount)));
}

bool Game::FallStep() {
  bool moved = false;
  // From the floor upwards: a moved block leaves a gap that is tested next
  // against the cell above, so a whole stack falls one row per step.
  for (std::int32_t c = 0; c <= MaxCol; ++c) {
    for (std::int32_t r = MaxRow; r >= 1; --r) {
      if (board_(c, r - 1) > 0 && !(board_(c, r) > 0)) {
        SetCell(c, r, SetCell(c, r - 1, 0));
        moved = true;
      }
    }
  }
  services_.RefreshFront();
  return moved;
}

void Game::FallUntilStill() {
  while (FallStep()) services_.Wait(kFallPause);
}

}  // namespace orvo::game
