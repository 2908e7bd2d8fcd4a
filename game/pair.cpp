// The player's pair: entering, the timed slide, the three moves, the landing.
#include <algorithm>
#include <limits>

#include "game/game.h"

namespace orvo::game {

void Game::SpawnPair() {
  state_.PairX = MaxCol;
  state_.PairY = kEntryRow;
  // Only the two entry cells decide whether the game goes on.
  if (board_(state_.PairX, state_.PairY) > 0 || board_(state_.PairX + 1, state_.PairY) > 0) {
    GameOver();
    return;
  }
  state_.LastSlideTime = services_.TickCount();
  const std::int32_t first = RandomBlock(0);
  SetCell(state_.PairX, state_.PairY, first);
  // The right block is steered away from the value just stored on the left.
  const std::int32_t second = RandomBlock(board_(state_.PairX, state_.PairY));
  SetCell(state_.PairX + 1, state_.PairY, second);
  services_.RefreshFront();
}

std::int64_t Game::SlideInterval() const {
  return 1000 - 40 * static_cast<std::int64_t>(state_.Level);
}

std::int64_t Game::NextSlideDue() const {
  if (!state_.PairActive) return std::numeric_limits<std::int64_t>::max();
  return state_.LastSlideTime + SlideInterval() + 1;
}

void Game::SlidePair() {
  if (!state_.PairActive) return;
  const std::int64_t now = services_.TickCount();
  if (!(state_.LastSlideTime + SlideInterval() < now)) return;
  // A fresh reading, taken before the step (also when the step lands the pair).
  state_.LastSlideTime = services_.TickCount();
  MovePairLeft();
}

void Game::MovePairLeft() {
  CheckPairInGrid();
  const std::int32_t target = std::max(state_.PairX - 1, 0);
  // Only the cell left of the left block is tested; at column 0 the clamped
  // target is the pair's own cell, so the pair lands there.
  if (board_(target, state_.PairY) > 0) {
    Land();
    return;
  }
  const std::int32_t v = SetCell(state_.PairX, state_.PairY, 0);
  SetCell(state_.PairX - 1, state_.PairY, v);
  const std::int32_t w = SetCell(state_.PairX + 1, state_.PairY, 0);
  SetCell(state_.PairX, state_.PairY, w);
  services_.RefreshFront();
  state_.PairX = target;
}

void Game::Land() {
  state_.PairActive = false;
  state_.Reactions = 0;
  state_.Cleared = 0;
  ResolveReactions();
}

namespace {

bool Taken(const Board& board, std::int32_t x, std::int32_t y) {
  return board(x, y) > 0;
}

}  // namespace

void Game::CheckPairInGrid() const {
  // The pair's position only leaves the grid when it is set from outside; the
  // grid access then fails before any arithmetic on it can overflow.
  static_cast<void>(board_(state_.PairX, state_.PairY));
}

void Game::MovePairUp() {
  CheckPairInGrid();
  // At the top row the clamped target is the pair's own row, which is taken.
  MovePairToRow(std::max(state_.PairY - 1, 0));
}

void Game::MovePairDown() {
  CheckPairInGrid();
  MovePairToRow(std::min(state_.PairY + 1, MaxRow));
}

void Game::MovePairToRow(std::int32_t target) {
  // A refused move changes nothing and never lands the pair.
  if (Taken(board_, state_.PairX, target) || Taken(board_, state_.PairX + 1, target)) return;
  const std::int32_t v = SetCell(state_.PairX, state_.PairY, 0);
  SetCell(state_.PairX, target, v);
  const std::int32_t w = SetCell(state_.PairX + 1, state_.PairY, 0);
  SetCell(state_.PairX + 1, target, w);
  services_.RefreshFront();
  state_.PairY = target;
}

}  // namespace orvo::game
