// Where the board's cells lie in pixels, and what the pictures must cover.
// Every size of the board surface and of the sprite sheet derives from here.
#pragma once

#include <cstdint>

#include "game/board.h"

namespace orvo::game {

// One cell, on the board and in the sprite sheet.
inline constexpr std::int32_t TileWidth = 48;
inline constexpr std::int32_t TileHeight = 48;

// The board surface: the seen columns 0..MaxCol and rows 0..MaxRow.
inline constexpr std::int32_t kFrontWidth = (MaxCol + 1) * TileWidth;    // 480
inline constexpr std::int32_t kFrontHeight = (MaxRow + 1) * TileHeight;  // 288

// The sprite sheet: a column per value (0 to 6), a row per animation frame.
inline constexpr std::int32_t kSheetColumns = 7;
inline constexpr std::int32_t kSheetFrames = 6;
inline constexpr std::int32_t kSheetWidth = kSheetColumns * TileWidth;   // 336
inline constexpr std::int32_t kSheetHeight = kSheetFrames * TileHeight;  // 288

// The row a new pair enters on.
inline constexpr std::int32_t kEntryRow = 2;

}  // namespace orvo::game
