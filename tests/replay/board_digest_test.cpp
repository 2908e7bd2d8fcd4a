// The board digest of `trace frames`: SHA-256 over the pixels' red, green
// and blue bytes. The expected digests were computed independently with
// Python's hashlib over the same bytes.
#include "tools/replay/board_digest.h"

#include <gtest/gtest.h>

#include "gfx/surface.h"

namespace orvo::replay {
namespace {

TEST(BoardDigest, HashesRedGreenBlueInThatOrder) {
  // Colours hold red in the low byte: the bytes are 01 02 03 04 05 06.
  gfx::Surface s(2, 1);
  gfx::SetPixel(s, 0, 0, 0x030201);
  gfx::SetPixel(s, 1, 0, gfx::Rgb(4, 5, 6));
  EXPECT_EQ(BoardDigest(s), "7192385c3c0605de55bb9476ce1d90748190ecb32a8eed7f5207b30cf6a1fe89");
}

TEST(BoardDigest, EmptySurfaceIsTheDigestOfNothing) {
  EXPECT_EQ(BoardDigest(gfx::Surface()),
            "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}

TEST(BoardDigest, BoardOfOneColour) {
  EXPECT_EQ(BoardDigest(gfx::Surface(480, 288)),
            "cb7e856cc6969ade9909248bdfc7ab7b8648d2f313330e2333fbdd85ddc3b107");
  EXPECT_EQ(BoardDigest(gfx::Surface(480, 288, gfx::Rgb(0x12, 0x34, 0x56))),
            "7f410e7faaedd86bb4fbe58f89892d1519ec6940f469683ef0bafac2fd90090f");
}

TEST(BoardDigest, GradientGoesRowByRowFromTheTopLeft) {
  // Red follows x, green follows y: a transposed or mirrored walk differs.
  gfx::Surface s(480, 288);
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) gfx::SetPixel(s, x, y, gfx::Rgb(x, y, x ^ y));
  }
  EXPECT_EQ(BoardDigest(s), "b1d02586438e4fe3246736f5c2319923a6c9c0ad41b99fe5d204e3c75ffb1c5a");
  // One pixel's one channel changes the digest.
  gfx::SetPixel(s, 479, 287, gfx::GetPixel(s, 479, 287) ^ 0x010000u);
  EXPECT_NE(BoardDigest(s), "b1d02586438e4fe3246736f5c2319923a6c9c0ad41b99fe5d204e3c75ffb1c5a");
}

}  // namespace
}  // namespace orvo::replay
