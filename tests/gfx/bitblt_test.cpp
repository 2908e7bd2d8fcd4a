#include "gfx/bitblt.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <vector>

namespace orvo::gfx {
namespace {

constexpr RasterOp kOps[] = {RasterOp::SRCCOPY, RasterOp::SRCPAINT, RasterOp::SRCAND};

Color Apply(RasterOp op, Color d, Color s) {
  switch (op) {
    case RasterOp::SRCCOPY:
      return s;
    case RasterOp::SRCPAINT:
      return d | s;
    case RasterOp::SRCAND:
      return d & s;
  }
  return d;
}

// Every pixel different, so a pixel taken from the wrong place shows.
Surface Pattern(int w, int h, Color salt) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      SetPixel(s, x, y, (static_cast<Color>(y * 977 + x * 131) * 2654435761u ^ salt) & kWhite);
    }
  }
  return s;
}

// What the transfer must leave: walks the destination's own pixels, so it
// works for any size, and reads the source as it was before the call.
Surface Expected(const Surface& dst, std::int64_t dx, std::int64_t dy, std::int64_t w,
                 std::int64_t h, const Surface& src, std::int64_t sx, std::int64_t sy,
                 RasterOp op) {
  Surface out = dst;
  for (int y = 0; y < dst.Height(); ++y) {
    for (int x = 0; x < dst.Width(); ++x) {
      const std::int64_t i = x - dx;
      const std::int64_t j = y - dy;
      if (i < 0 || j < 0 || i >= w || j >= h) continue;
      const std::int64_t px = sx + i;
      const std::int64_t py = sy + j;
      if (px < 0 || py < 0 || px >= src.Width() || py >= src.Height()) continue;
      SetPixel(out, x, y,
               Apply(op, GetPixel(dst, x, y),
                     GetPixel(src, static_cast<int>(px), static_cast<int>(py))));
    }
  }
  return out;
}

void CheckTransfer(int dx, int dy, int w, int h, int sx, int sy, RasterOp op) {
  const Surface src = Pattern(7, 5, 0x55AA33);
  Surface dst = Pattern(9, 6, 0x0F0F0F);
  const Surface want = Expected(dst, dx, dy, w, h, src, sx, sy, op);
  BitBlt(dst, dx, dy, w, h, src, sx, sy, op);
  EXPECT_EQ(dst.Pixels(), want.Pixels())
      << "dx=" << dx << " dy=" << dy << " w=" << w << " h=" << h << " sx=" << sx << " sy=" << sy
      << " op=" << static_cast<std::uint32_t>(op);
}

TEST(BitBlt, RasterOperationsCombineBitByBit) {
  const Surface src = Surface(1, 1, 0x0FF00F);
  for (RasterOp op : kOps) {
    Surface dst(1, 1, 0x3C3C3C);
    BitBlt(dst, 0, 0, 1, 1, src, 0, 0, op);
    EXPECT_EQ(GetPixel(dst, 0, 0), Apply(op, 0x3C3C3C, 0x0FF00F));
  }
  EXPECT_EQ(Apply(RasterOp::SRCPAINT, 0x3C3C3C, 0x0FF00F), 0x3FFC3Fu);
  EXPECT_EQ(Apply(RasterOp::SRCAND, 0x3C3C3C, 0x0FF00F), 0x0C300Cu);
}

TEST(BitBlt, ClipsBothRectanglesAndLeavesEverythingElseAlone) {
  struct Case {
    int dx, dy, w, h, sx, sy;
  };
  const Case cases[] = {
      {1, 1, 3, 2, 2, 1},     // wholly inside
      {-2, -1, 5, 4, 0, 0},   // destination off the top-left
      {6, 4, 8, 8, 0, 0},     // destination off the bottom-right
      {0, 0, 9, 6, -3, -2},   // source off the top-left: matching destination untouched
      {0, 0, 9, 6, 4, 3},     // source off the bottom-right
      {2, 1, 4, 3, 5, 4},     // source partly outside, destination inside
      {-3, 2, 9, 9, -1, -4},  // both sides cut
      {0, 0, 0, 3, 0, 0},     // zero width
      {0, 0, 3, 0, 0, 0},     // zero height
      {0, 0, -4, 3, 0, 0},    // negative width
      {0, 0, 3, -4, 0, 0},    // negative height
      {9, 0, 3, 3, 0, 0},     // just right of the destination
      {0, 0, 3, 3, 7, 0},     // just right of the source
      {0, 0, INT_MAX, INT_MAX, 0, 0},
      {INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0},
      {-5, -5, INT_MAX, INT_MAX, INT_MIN, INT_MIN},
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX, 0, 0},
      {0, 0, INT_MAX, INT_MAX, INT_MAX, INT_MAX},
      {2, 2, INT_MAX, 3, -INT_MAX, 0},
      {INT_MIN, 0, INT_MIN, INT_MIN, 0, 0},
  };
  for (RasterOp op : kOps) {
    for (const Case& c : cases) CheckTransfer(c.dx, c.dy, c.w, c.h, c.sx, c.sy, op);
  }
}

TEST(BitBlt, RandomArgumentsAgreeWithThePixelByPixelRule) {
  std::mt19937 rng(20240611);
  std::uniform_int_distribution<int> small(-12, 14);
  std::uniform_int_distribution<int> pick(0, 9);
  auto arg = [&] {
    switch (pick(rng)) {
      case 0:
        return INT_MAX;
      case 1:
        return INT_MIN;
      default:
        return small(rng);
    }
  };
  for (int n = 0; n < 3000; ++n) {
    CheckTransfer(arg(), arg(), arg(), arg(), arg(), arg(), kOps[n % 3]);
  }
}

TEST(BitBlt, SameSurfaceReadsTheSourceAsItWasBeforeTheCall) {
  for (RasterOp op : kOps) {
    for (int ox = -3; ox <= 3; ++ox) {
      for (int oy = -3; oy <= 3; ++oy) {
        Surface s = Pattern(10, 8, 0x123456);
        const Surface before = s;
        BitBlt(s, 3 + ox, 2 + oy, 6, 5, s, 3, 2, op);
        const Surface want = Expected(before, 3 + ox, 2 + oy, 6, 5, before, 3, 2, op);
        EXPECT_EQ(s.Pixels(), want.Pixels()) << "offset " << ox << "," << oy;
      }
    }
  }
}

TEST(BitBlt, HandlesThatNameNoSurfaceSkipTheDraw) {
  SurfaceTable t;
  const SurfaceHandle a = t.Create(4, 4);
  const SurfaceHandle b = t.Adopt(Surface(4, 4, kWhite));
  const SurfaceHandle gone = t.Create(4, 4);
  t.Destroy(gone);
  for (SurfaceHandle bad : {kNoSurface, kNoMask, gone, 99}) {
    BitBlt(t, a, 0, 0, 4, 4, bad, 0, 0, RasterOp::SRCCOPY);
    BitBlt(t, bad, 0, 0, 4, 4, b, 0, 0, RasterOp::SRCCOPY);
  }
  EXPECT_EQ(t.Get(a)->Pixels(), std::vector<Color>(16, kBlack));

  BitBlt(t, a, 1, 1, 2, 2, b, 0, 0, RasterOp::SRCCOPY);
  EXPECT_EQ(GetPixel(*t.Get(a), 1, 1), kWhite);
  EXPECT_EQ(GetPixel(*t.Get(a), 0, 0), kBlack);
  EXPECT_EQ(GetPixel(*t.Get(a), 3, 3), kBlack);
}

}  // namespace
}  // namespace orvo::gfx
