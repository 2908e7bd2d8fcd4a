#include "gfx/surface.h"

#include <gtest/gtest.h>

#include <vector>

#include "gfx/surface_table.h"

namespace orvo::gfx {
namespace {

TEST(Surface, PixelAccessStaysInsideAndKeepsColoursTo24Bits) {
  Surface s(3, 2, Rgb(1, 2, 3));
  EXPECT_EQ(GetPixel(s, 2, 1), 0x030201u);  // red in the low byte

  SetPixel(s, 1, 0, 0xAB123456);
  EXPECT_EQ(GetPixel(s, 1, 0), 0x123456u);

  for (auto [x, y] : std::vector<std::pair<int, int>>{{-1, 0}, {0, -1}, {3, 0}, {0, 2}}) {
    EXPECT_EQ(GetPixel(s, x, y), kNoColor) << x << "," << y;
    SetPixel(s, x, y, kWhite);
  }
  const std::vector<Color> expected = {0x030201, 0x123456, 0x030201, 0x030201, 0x030201, 0x030201};
  EXPECT_EQ(s.Pixels(), expected);
}

TEST(Surface, NonPositiveSizesGiveAnEmptySurface) {
  for (auto [w, h] : std::vector<std::pair<int, int>>{{0, 5}, {5, 0}, {-3, 4}, {4, -3}}) {
    Surface s(w, h);
    EXPECT_TRUE(s.Empty());
    EXPECT_EQ(s.Width(), 0);
    EXPECT_EQ(s.Height(), 0);
    EXPECT_EQ(GetPixel(s, 0, 0), kNoColor);
  }
}

TEST(SurfaceTable, HandlesStartAtOneAndAreNeverReused) {
  SurfaceTable t;
  const SurfaceHandle a = t.Create(2, 2);
  const SurfaceHandle b = t.Create(1, 1);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(t.LiveCount(), 2u);
  ASSERT_NE(t.Get(a), nullptr);
  EXPECT_EQ(t.Get(a)->Pixels(), std::vector<Color>(4, kBlack));

  t.Destroy(a);
  EXPECT_EQ(t.Get(a), nullptr);
  EXPECT_EQ(t.LiveCount(), 1u);
  EXPECT_EQ(t.Create(2, 2), 3);
  t.Destroy(a);  // twice: nothing more happens
  EXPECT_EQ(t.LiveCount(), 2u);
}

TEST(SurfaceTable, HandlesThatNameNothingAreHarmless) {
  SurfaceTable t;
  t.Create(1, 1);
  for (SurfaceHandle h : {kNoSurface, kNoMask, 2, 1000, -7}) {
    EXPECT_EQ(t.Get(h), nullptr) << h;
    t.Destroy(h);
  }
  EXPECT_EQ(t.LiveCount(), 1u);
}

TEST(SurfaceTable, CreationFailsForBadSizesAndAtTheLimit) {
  SurfaceTable t;
  EXPECT_EQ(t.Create(-1, 4), kNoSurface);
  EXPECT_EQ(t.Create(4, -1), kNoSurface);
  EXPECT_EQ(t.Create(1 << 20, 1 << 20), kNoSurface);  // far beyond any picture
  const SurfaceHandle empty = t.Create(0, 0);
  ASSERT_NE(empty, kNoSurface);
  EXPECT_TRUE(t.Get(empty)->Empty());

  t.LimitCreations(1);
  EXPECT_NE(t.Adopt(Surface(2, 2)), kNoSurface);
  EXPECT_EQ(t.Create(1, 1), kNoSurface);
  EXPECT_EQ(t.Adopt(Surface(1, 1)), kNoSurface);
  EXPECT_EQ(t.LiveCount(), 2u);
}

}  // namespace
}  // namespace orvo::gfx
