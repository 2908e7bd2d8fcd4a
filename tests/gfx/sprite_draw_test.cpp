#include "gfx/sprite_draw.h"

#include <gtest/gtest.h>

#include <vector>

#include "gfx/bitblt.h"
#include "tests/gfx/cache_fixture.h"

namespace orvo::gfx {
namespace {

using testing::FromRows;

class SpriteDraw : public testing::CacheTest {
 protected:
  // Loads `picture` with a mask and returns a copy of its entry (the table
  // may move its entries when it grows).
  BitmapEntry Sprite(const Surface& picture) {
    const std::int32_t i = Load("sprite" + std::to_string(++count_) + ".pic", picture, true);
    EXPECT_GE(i, 0) << cache.LastError();
    return *cache.Entry(i);
  }
  SurfaceHandle Canvas(int w, int h, Color c) { return table.Adopt(Surface(w, h, c)); }

 private:
  int count_ = 0;
};

TEST_F(SpriteDraw, WhiteIsTransparentAndOtherColoursAreDrawnExactly) {
  const BitmapEntry e = Sprite(FromRows({{kWhite, 0x0000FF}}));
  EXPECT_EQ(SurfaceOf(e.MaskDC).Pixels(), (std::vector<Color>{kBlack, kWhite}));

  const SurfaceHandle d = Canvas(2, 1, 0x123456);
  MaskedDraw(table, d, 0, 0, 2, 1, e, 0, 0);
  EXPECT_EQ(SurfaceOf(d).Pixels(), (std::vector<Color>{0x123456, 0x0000FF}));
}

TEST_F(SpriteDraw, OnlyExactWhiteIsTransparent) {
  const BitmapEntry e = Sprite(FromRows({{0xFEFFFF, 0xFFFFFE, kWhite, 0xFFFEFF}}));
  EXPECT_EQ(SurfaceOf(e.MaskDC).Pixels(), (std::vector<Color>{kWhite, kWhite, kBlack, kWhite}));
  for (Color background : {kBlack, 0x123456u, kWhite}) {
    const SurfaceHandle d = Canvas(4, 1, background);
    MaskedDraw(table, d, 0, 0, 4, 1, e, 0, 0);
    EXPECT_EQ(SurfaceOf(d).Pixels(),
              (std::vector<Color>{0xFEFFFF, 0xFFFFFE, background, 0xFFFEFF}));
  }
}

TEST_F(SpriteDraw, AllWhiteChangesNothingAndNoWhiteCoversEverything) {
  const BitmapEntry clear = Sprite(Surface(3, 3, kWhite));
  const BitmapEntry solid = Sprite(FromRows({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}));
  EXPECT_EQ(SurfaceOf(solid.MaskDC).Pixels(), std::vector<Color>(9, kWhite));

  const SurfaceHandle d = table.Adopt(FromRows({{10, 20, 30}, {40, 50, 60}, {70, 80, 90}}));
  const std::vector<Color> before = SurfaceOf(d).Pixels();
  MaskedDraw(table, d, 0, 0, 3, 3, clear, 0, 0);
  EXPECT_EQ(SurfaceOf(d).Pixels(), before);
  MaskedDraw(table, d, 0, 0, 3, 3, solid, 0, 0);
  EXPECT_EQ(SurfaceOf(d).Pixels(), SurfaceOf(solid.DC).Pixels());
}

TEST_F(SpriteDraw, DrawingTwiceEqualsOnceAndLowerSpriteShowsThroughWhite) {
  const BitmapEntry lower = Sprite(FromRows({{0x00AA00, 0x00AA00, 0x00AA00}}));
  const BitmapEntry upper = Sprite(FromRows({{0x0000CC, kWhite, 0xCC0000}}));
  const SurfaceHandle once = Canvas(3, 1, 0x555555);
  const SurfaceHandle twice = Canvas(3, 1, 0x555555);
  for (SurfaceHandle d : {once, twice}) MaskedDraw(table, d, 0, 0, 3, 1, lower, 0, 0);
  MaskedDraw(table, once, 0, 0, 3, 1, upper, 0, 0);
  MaskedDraw(table, twice, 0, 0, 3, 1, upper, 0, 0);
  MaskedDraw(table, twice, 0, 0, 3, 1, upper, 0, 0);
  EXPECT_EQ(SurfaceOf(once).Pixels(), (std::vector<Color>{0x0000CC, 0x00AA00, 0xCC0000}));
  EXPECT_EQ(SurfaceOf(twice).Pixels(), SurfaceOf(once).Pixels());
}

TEST_F(SpriteDraw, GridTileWithAndKeepsItsColoursOnWhiteAndBlackOnBlack) {
  const std::int32_t i =
      Load("grid.pic", FromRows({{kWhite, 0x808080}, {0x102030, kWhite}}), false);
  ASSERT_GE(i, 0);
  const BitmapEntry& grid = *cache.Entry(i);
  const SurfaceHandle white = Canvas(2, 2, kWhite);
  const SurfaceHandle black = Canvas(2, 2, kBlack);
  BitBlt(table, white, 0, 0, grid.Width, grid.Height, grid.DC, 0, 0, RasterOp::SRCAND);
  BitBlt(table, black, 0, 0, grid.Width, grid.Height, grid.DC, 0, 0, RasterOp::SRCAND);
  EXPECT_EQ(SurfaceOf(white).Pixels(), SurfaceOf(grid.DC).Pixels());
  EXPECT_EQ(SurfaceOf(black).Pixels(), std::vector<Color>(4, kBlack));
}

TEST_F(SpriteDraw, EntryWithoutSurfacesDrawsNothing) {
  const SurfaceHandle front = Canvas(48, 48, 0x123456);
  BitmapEntry none;  // DC 0
  none.MaskDC = kNoMask;
  MaskedDraw(table, front, 0, 0, 48, 48, none, 0, 0);
  EXPECT_EQ(SurfaceOf(front).Pixels(), std::vector<Color>(48 * 48, 0x123456));
}

}  // namespace
}  // namespace orvo::gfx
