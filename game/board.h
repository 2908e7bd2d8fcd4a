// The playing field: 12 x 7 cells of which columns 0-9 and rows 0-5 are seen.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>

namespace orvo::game {

inline constexpr std::int32_t MaxCol = 9;
inline constexpr std::int32_t MaxRow = 5;
inline constexpr std::int32_t kBoardColumns = MaxCol + 3;  // 0..11: column 10 is the entry cell
inline constexpr std::int32_t kBoardRows = MaxRow + 2;     // 0..6: row 6 is the floor's neighbour

// Thrown by a grid access outside the 12 x 7 grid.
class GridAccessError : public std::out_of_range {
 public:
  GridAccessError() : std::out_of_range("grid access outside the grid") {}
};

class Board {
 public:
  // Bounds-checked access, (column, row).
  std::int32_t& operator()(std::int64_t column, std::int64_t row) {
    Check(column, row);
    return cells_[static_cast<std::size_t>(row * kBoardColumns + column)];
  }
  std::int32_t operator()(std::int64_t column, std::int64_t row) const {
    Check(column, row);
    return cells_[static_cast<std::size_t>(row * kBoardColumns + column)];
  }
  void Clear() { cells_.fill(0); }

 private:
  static void Check(std::int64_t column, std::int64_t row) {
    if (column < 0 || column >= kBoardColumns || row < 0 || row >= kBoardRows) {
      throw GridAccessError();
    }
  }
  std::array<std::int32_t, kBoardColumns * kBoardRows> cells_{};
};

}  // namespace orvo::game
