// The frame the canvas keeps: the first frame and a new size are drawn
// whole, later ones only where they changed, and the kept pixels are always
// the last frame's, opaque.
#include "platform/web/frame_delta.h"

#include <gtest/gtest.h>

namespace orvo::web {
namespace {

bool SameAs(const ShownFrame& shown, const gfx::Surface& frame) {
  if (shown.Width() != frame.Width() || shown.Height() != frame.Height()) return false;
  for (int y = 0; y < frame.Height(); ++y) {
    for (int x = 0; x < frame.Width(); ++x) {
      const std::uint32_t want = frame.Row(y)[x] | 0xFF000000u;
      if (shown.Pixels()[static_cast<std::size_t>(y) * frame.Width() + x] != want) return false;
    }
  }
  return true;
}

void ExpectRect(const FrameRect& r, int x, int y, int width, int height) {
  EXPECT_EQ(r.x, x);
  EXPECT_EQ(r.y, y);
  EXPECT_EQ(r.width, width);
  EXPECT_EQ(r.height, height);
}

TEST(ShownFrame, FirstFrameIsDrawnWhole) {
  ShownFrame shown;
  gfx::Surface frame(7, 5, gfx::Rgb(1, 2, 3));
  ExpectRect(shown.Update(frame), 0, 0, 7, 5);
  EXPECT_TRUE(SameAs(shown, frame));
  // The bytes R, G, B, 255 in memory.
  EXPECT_EQ(shown.Pixels()[0], 0xFF030201u);
}

TEST(ShownFrame, AnUnchangedFrameDrawsNothing) {
  ShownFrame shown;
  gfx::Surface frame(7, 5, gfx::kWhite);
  shown.Update(frame);
  EXPECT_TRUE(shown.Update(frame).Empty());
  EXPECT_TRUE(SameAs(shown, frame));
}

TEST(ShownFrame, OnePixelChangedIsThatPixel) {
  ShownFrame shown;
  gfx::Surface frame(7, 5);
  shown.Update(frame);
  gfx::SetPixel(frame, 6, 4, gfx::Rgb(9, 8, 7));
  ExpectRect(shown.Update(frame), 6, 4, 1, 1);
  EXPECT_TRUE(SameAs(shown, frame));
}

TEST(ShownFrame, ChangesApartGiveTheRectangleAroundThem) {
  ShownFrame shown;
  gfx::Surface frame(10, 8);
  shown.Update(frame);
  gfx::SetPixel(frame, 7, 1, gfx::kWhite);
  gfx::SetPixel(frame, 2, 5, gfx::kWhite);
  gfx::SetPixel(frame, 4, 3, gfx::kWhite);
  ExpectRect(shown.Update(frame), 2, 1, 6, 5);
  EXPECT_TRUE(SameAs(shown, frame));
  // A change back is a change too.
  gfx::SetPixel(frame, 7, 1, gfx::kBlack);
  ExpectRect(shown.Update(frame), 7, 1, 1, 1);
  EXPECT_TRUE(SameAs(shown, frame));
}

TEST(ShownFrame, ANewSizeIsDrawnWhole) {
  ShownFrame shown;
  shown.Update(gfx::Surface(4, 4, gfx::kWhite));
  // Same pixel count, other shape: still the whole frame.
  gfx::Surface frame(8, 2, gfx::kWhite);
  ExpectRect(shown.Update(frame), 0, 0, 8, 2);
  EXPECT_TRUE(SameAs(shown, frame));
}

TEST(ShownFrame, AnEmptyFrameDrawsNothing) {
  ShownFrame shown;
  EXPECT_TRUE(shown.Update(gfx::Surface()).Empty());
  gfx::Surface frame(3, 3, gfx::kWhite);
  ExpectRect(shown.Update(frame), 0, 0, 3, 3);
}

}  // namespace
}  // namespace orvo::web
