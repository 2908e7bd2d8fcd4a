// Points, the level they bring, and the status texts.
#include <cmath>

#include "game/arithmetic.h"
#include "game/game.h"

namespace orvo::game {

std::string PointsText(std::int32_t points) {
  // Above 100000 points the label shows whole thousands and " K".
  if (points > 100000) return WholeNumberText(std::floor(points / 1000.0)) + " K";
  return std::to_string(points);
}

double Game::LevelThreshold(std::int32_t level) const {
  const double base = 30.0 * static_cast<double>(static_cast<std::int64_t>(level) * level);
  return std::floor(base / (static_cast<double>(state_.MaxReactions) / level + 1.0));
}

void Game::AddPoints(std::int32_t n) {
  // Points saturate at the top of the 32-bit range instead of wrapping.
  state_.Points = SaturatingAdd(state_.Points, n);
  labels_.SetCaption(Control::lblPoints, PointsText(state_.Points));
  UpdateReactions();
  while (LevelThreshold(state_.Level) < static_cast<double>(state_.Points)) {
    state_.Level = SaturatingAdd(state_.Level, 1);
    labels_.SetCaption(Control::lblLevel, std::to_string(state_.Level));
  }
  labels_.SetCaption(Control::lblNextLevelPoints,
                     WholeNumberText(LevelThreshold(state_.Level) - state_.Points));
  // With five bombs held no bomb is awarded and the passed threshold is kept,
  // so the bomb comes with a later award once one has been used.
  while (state_.Points > state_.NextBombPoints && state_.Bombs <= 4) {
    AddBombs(1);
    state_.NextBombPoints = SaturateToInt32(static_cast<double>(state_.NextBombPoints) * 3.0);
  }
}

void Game::UpdateReactions() {
  if (state_.Reactions > state_.MaxReactions) state_.MaxReactions = state_.Reactions;
  labels_.SetCaption(Control::lblReactions,
                     std::to_string(state_.Reactions) + "/" + std::to_string(state_.MaxReactions));
}

}  // namespace orvo::game
