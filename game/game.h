// The game's state and rules: the board, the pair, the chain reactions, the
// points, levels and bombs, and the drawing of the board.
#pragma once

#include <cstdint>
#include <string>

#include "game/board.h"
#include "game/board_geometry.h"
#include "game/game_services.h"
#include "game/labels.h"
#include "game/timing.h"
#include "gfx/bitmap_cache.h"
#include "gfx/surface_table.h"

namespace orvo::game {

// The game variables. Ticks are 64-bit milliseconds of a monotonic clock.
struct GameState {
  bool Running = false;
  bool PairActive = false;
  std::int32_t PairX = 0;
  std::int32_t PairY = 0;
  std::int64_t LastSlideTime = 0;
  std::int32_t Level = 0;
  std::int32_t Points = 0;
  std::int32_t Reactions = 0;
  std::int32_t MaxReactions = 0;
  std::int32_t Cleared = 0;
  std::int32_t Bombs = 0;
  std::int32_t NextBombPoints = 0;
};

// Where the rules draw: the board surface and the three pictures.
struct GameGraphics {
  gfx::SurfaceTable* surfaces = nullptr;
  const gfx::BitmapCache* cache = nullptr;
  gfx::SurfaceHandle FrontDC = gfx::kNoSurface;
  std::int32_t BackBitmap = -1;
  std::int32_t BlocksBitmap = -1;
  std::int32_t GridBitmap = -1;
};

class Game {
 public:
  // The rules write the labels through `labels`, whose owner shows them.
  Game(GameServices& services, Labels& labels) : services_(services), labels_(labels) {}

  void SetGraphics(const GameGraphics& g) { graphics_ = g; }
  const GameGraphics& Graphics() const { return graphics_; }

  GameState& State() { return state_; }
  const GameState& State() const { return state_; }
  Board& Cells() { return board_; }
  const Board& Cells() const { return board_; }

  // Game state and board grid.
  void NewGame();
  std::int32_t SetCell(std::int32_t column, std::int32_t row, std::int32_t value);

  // The pair.
  void SpawnPair();
  void SlidePair();
  void MovePairLeft();
  void MovePairUp();
  void MovePairDown();
  // A blocked left step: the pair lands and the cascade runs to the next spawn.
  void Land();

  // Chain reactions and gravity.
  void ResolveReactions();

  // Random blocks.
  std::int32_t RandomBlock(std::int32_t exclude);

  // Points, level and status labels.
  void AddPoints(std::int32_t n);
  void UpdateReactions();
  // T(L): the points up to which level L holds.
  double LevelThreshold(std::int32_t level) const;
  // The slide interval of the current level, in milliseconds.
  std::int64_t SlideInterval() const;

  // Bombs.
  void AddBombs(std::int32_t n);
  void UseBomb();
  void DetonateBomb();

  // Board drawing and merge animation.
  void DrawBoard();
  void AnimateMerge(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                    std::int32_t newValue);

  // The earliest tick at which SlidePair can step the pair (INT64_MAX: never).
  std::int64_t NextSlideDue() const;

 private:
  void GameOver();
  void MovePairToRow(std::int32_t target);
  void CheckPairInGrid() const;
  void DrawGridOverlay();
  // One scan of the board; true when it merged anything.
  bool ScanForMerges();
  void Merge(std::int32_t column, std::int32_t row, std::int32_t otherColumn,
             std::int32_t otherRow);
  // One fall step; true when a block moved.
  bool FallStep();
  void FallUntilStill();
  const gfx::BitmapEntry& Picture(std::int32_t index) const;
  // The cell restore and the block draw on the board surface.
  void RestoreCell(std::int32_t x, std::int32_t y);
  void DrawBlock(std::int32_t x, std::int32_t y, std::int32_t value, std::int32_t frame);

  GameServices& services_;
  Labels& labels_;
  GameGraphics graphics_;
  GameState state_;
  Board board_;
};

// The texts the status labels show.
std::string PointsText(std::int32_t points);
std::string BombsText(std::int32_t bombs);

}  // namespace orvo::game
