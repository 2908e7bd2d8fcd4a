// Drawing one cell of the board: a block from the sprite sheet, or the
// background under it; cells and tiles outside are left out.
#include "game/cell_drawing.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "game/board_geometry.h"
#include "tests/gfx/cache_fixture.h"

namespace orvo::game {
namespace {

using gfx::BitmapEntry;
using gfx::Color;
using gfx::kWhite;
using gfx::Surface;
using gfx::SurfaceHandle;

class CellDrawing : public gfx::testing::CacheTest {
 protected:
  BitmapEntry Picture(const Surface& picture, bool mask) {
    const std::int32_t i = Load("picture" + std::to_string(++count_) + ".pic", picture, mask);
    EXPECT_GE(i, 0) << cache.LastError();
    return *cache.Entry(i);
  }
  BitmapEntry Sprite(const Surface& picture) { return Picture(picture, true); }
  SurfaceHandle Canvas(int w, int h, Color c) { return table.Adopt(Surface(w, h, c)); }

 private:
  int count_ = 0;
};

// A sheet whose tile (v, k) is filled with the colour v * 16 + k + 1, with a
// white corner pixel that must stay transparent.
Surface Sheet() {
  Surface s(7 * TileWidth, 6 * TileHeight);
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      const bool corner = x % TileWidth == 0 && y % TileHeight == 0;
      gfx::SetPixel(s, x, y, corner ? kWhite : (x / TileWidth) * 16 + (y / TileHeight) + 1);
    }
  }
  return s;
}

TEST_F(CellDrawing, BlockDrawTakesTileOfValueAndFrameIntoTheCell) {
  const BitmapEntry blocks = Sprite(Sheet());
  const SurfaceHandle front = Canvas(480, 288, 0x0A0B0C);
  BlockDraw(table, front, blocks, 2, 1, 3, 4);
  const Surface& f = SurfaceOf(front);
  for (int y = 0; y < f.Height(); ++y) {
    for (int x = 0; x < f.Width(); ++x) {
      const bool in_cell = x >= 96 && x < 144 && y >= 48 && y < 96;
      const bool corner = x == 96 && y == 48;
      const Color want = in_cell && !corner ? 3 * 16 + 4 + 1 : 0x0A0B0C;
      ASSERT_EQ(gfx::GetPixel(f, x, y), want) << x << "," << y;
    }
  }
}

TEST_F(CellDrawing, CellsOutsideTheBoardAreClippedAway) {
  const BitmapEntry blocks = Sprite(Sheet());
  const SurfaceHandle front = Canvas(480, 288, 0x0A0B0C);
  const std::vector<Color> before = SurfaceOf(front).Pixels();
  for (auto [x, y] : std::vector<std::pair<int, int>>{
           {10, 0}, {-1, 2}, {3, 6}, {0, -1}, {INT_MAX, 0}, {0, INT_MIN}}) {
    BlockDraw(table, front, blocks, x, y, 1, 0);
    CellRestore(table, front, blocks, x, y);
  }
  BlockDraw(table, front, blocks, 0, 0, 9, 0);  // no tile column 9 in the sheet
  BlockDraw(table, front, blocks, 0, 0, INT_MAX, INT_MIN);
  EXPECT_EQ(SurfaceOf(front).Pixels(), before);
}

TEST_F(CellDrawing, CellRestoreCopiesExactlyTheCellFromTheBackground) {
  Surface back(480, 288);
  for (int y = 0; y < 288; ++y) {
    for (int x = 0; x < 480; ++x) gfx::SetPixel(back, x, y, static_cast<Color>(y * 480 + x));
  }
  const BitmapEntry background = Picture(back, false);
  const SurfaceHandle front = Canvas(480, 288, kWhite);
  CellRestore(table, front, background, 9, 5);
  const Surface& f = SurfaceOf(front);
  for (int y = 0; y < 288; ++y) {
    for (int x = 0; x < 480; ++x) {
      const bool in_cell = x >= 432 && y >= 240;
      ASSERT_EQ(gfx::GetPixel(f, x, y), in_cell ? gfx::GetPixel(back, x, y) : kWhite)
          << x << "," << y;
    }
  }
}

TEST_F(CellDrawing, EntryWithoutSurfacesDrawsNothing) {
  const SurfaceHandle front = Canvas(48, 48, 0x123456);
  BitmapEntry none;  // DC 0
  none.MaskDC = gfx::kNoMask;
  BlockDraw(table, front, none, 0, 0, 1, 0);
  CellRestore(table, front, none, 0, 0);
  EXPECT_EQ(SurfaceOf(front).Pixels(), std::vector<Color>(48 * 48, 0x123456));
}

}  // namespace
}  // namespace orvo::game
