// WIC's picture decoder behind the game's checks: exact GIF colours, a GIF
// image placed on its screen, JPEG within a few levels, the real pictures'
// sizes, and every damaged file of the corpus refused with a reason or
// decoded within the limits, never a crash.
#include "platform/win32/wic_picture_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>

#include "gfx/picture_decoder.h"
#include "tests/gfx/test_files.h"
#include "tests/gfx/tiny_jpeg.h"

namespace orvo::win32 {
namespace {

using gfx::Color;
using gfx::Surface;
using gfx::testing::Bytes;
using gfx::testing::EncodeGif;
using gfx::testing::FromRows;
using gfx::testing::GifLayout;

namespace fs = std::filesystem;

bool Same(const Surface& a, const Surface& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() && a.Pixels() == b.Pixels();
}

class Wic : public ::testing::Test {
 protected:
  std::optional<Surface> Decode(const Bytes& bytes) {
    reason.clear();
    return decoder.Decode(bytes, reason);
  }
  WicPictureDecoder decoder;
  std::string reason;
};

TEST_F(Wic, GifColoursAreExactAndImagesSitOnTheirScreen) {
  // White and its near neighbours must survive: white is the sprites'
  // transparent colour.
  const Surface palette = FromRows({{gfx::kWhite, 0xFEFFFF, 0xFFFFFE, 0x0000FF},
                                    {gfx::kBlack, 0x123456, 0xFFFEFF, 0x00FF00},
                                    {0x010101, 0xABCDEF, 0x808080, 0xFF0000}});
  std::optional<Surface> got = Decode(EncodeGif(palette));
  ASSERT_TRUE(got) << reason;
  EXPECT_TRUE(Same(*got, palette));

  GifLayout interlaced;
  interlaced.interlaced = true;
  Surface rows(3, 11);
  for (int y = 0; y < 11; ++y) {
    for (int x = 0; x < 3; ++x) gfx::SetPixel(rows, x, y, gfx::Rgb(y * 20, x * 50, 7));
  }
  got = Decode(EncodeGif(rows, interlaced));
  ASSERT_TRUE(got) << reason;
  EXPECT_TRUE(Same(*got, rows));

  // A 2 x 2 image at (3, 1) on a 6 x 4 screen whose background is the
  // image's second colour, as the Linux decoder shows it.
  const Surface image = FromRows({{0x0000FF, 0x00FF00}, {0x00FF00, 0xFF0000}});
  got = Decode(EncodeGif(image, GifLayout{6, 4, 3, 1, false, 1}));
  ASSERT_TRUE(got) << reason;
  Surface want(6, 4, 0x00FF00);
  gfx::SetPixel(want, 3, 1, 0x0000FF);
  gfx::SetPixel(want, 4, 2, 0xFF0000);
  EXPECT_TRUE(Same(*got, want));
}

TEST_F(Wic, JpegIsWithinAFewLevels) {
  std::optional<Surface> tiny =
      Decode(Bytes(std::begin(gfx::testing::kTinyJpeg), std::end(gfx::testing::kTinyJpeg)));
  ASSERT_TRUE(tiny) << reason;
  ASSERT_EQ(tiny->Width(), 16);
  ASSERT_EQ(tiny->Height(), 8);
  const auto near = [](Color got, Color want) {
    for (int shift : {0, 8, 16}) {
      if (std::abs(static_cast<int>((got >> shift) & 0xFF) -
                   static_cast<int>((want >> shift) & 0xFF)) > 8) {
        return false;
      }
    }
    return (got >> 24) == 0;
  };
  EXPECT_TRUE(near(gfx::GetPixel(*tiny, 2, 3), 0x0000FF)) << std::hex << gfx::GetPixel(*tiny, 2, 3);
  EXPECT_TRUE(near(gfx::GetPixel(*tiny, 13, 5), gfx::kWhite));
}

TEST_F(Wic, TheGamesPicturesDecodeAtTheirSizes) {
  struct Case {
    const char* file;
    int width, height;
  } cases[] = {{"GameBack.jpg", 480, 288}, {"Blocks.gif", 336, 288}, {"Grid.gif", 48, 48}};
  for (const Case& c : cases) {
    std::string error;
    std::optional<Surface> got =
        gfx::DecodePictureFile(std::string(ORVO_GRAPHICS_DIR) + c.file, decoder, error);
    ASSERT_TRUE(got) << error;
    EXPECT_GE(got->Width(), c.width) << c.file;
    EXPECT_GE(got->Height(), c.height) << c.file;
  }
}

TEST_F(Wic, FilesThatAreNoGoodPictureAreRefusedBeforeWicSeesThem) {
  Bytes gif = EncodeGif(FromRows({{0x102030, 0x405060}}));
  const Bytes whole = gif;
  struct Case {
    const char* what;
    Bytes bytes;
    const char* reason;
  } cases[] = {
      {"empty", {}, "not a JPEG or GIF picture"},
      {"a bitmap", {'B', 'M', 0x3E, 0, 0, 0, 0, 0, 0, 0}, "not a JPEG or GIF picture"},
      {"cut off", Bytes(whole.begin(), whole.end() - 4), ""},
      {"a huge screen",
       [&] {
         Bytes b = whole;
         b[6] = b[7] = b[8] = b[9] = 0xFF;
         return b;
       }(),
       "too large"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Decode(c.bytes), std::nullopt) << c.what;
    EXPECT_FALSE(reason.empty()) << c.what;
    EXPECT_NE(reason.find(c.reason), std::string::npos) << c.what << ": " << reason;
  }
}

TEST_F(Wic, DamagedFilesAreRefusedOrDecodedWithinTheLimits) {
  std::vector<fs::path> files;
  for (const auto& entry :
       fs::directory_iterator(ORVO_SOURCE_DIR "/tests/platform/linux/damaged_pictures")) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  ASSERT_GE(files.size(), 20u) << "the corpus is missing";
  int refused = 0;
  for (const fs::path& file : files) {
    const std::string name = file.filename().string();
    SCOPED_TRACE(name);
    std::string error;
    std::optional<Surface> got = gfx::DecodePictureFile(file.string(), decoder, error);
    if (!got) {
      ++refused;
      EXPECT_GT(error.size(), file.string().size() + 4) << "no reason: " << error;
      continue;
    }
    EXPECT_TRUE(gfx::PictureSizeAllowed(got->Width(), got->Height(), error)) << error;
    // Sizes beyond the limits and files without a picture never decode.
    for (const char* prefix :
         {"huge-", "frame-far-out", "second-frame-far-out", "no-colour-table", "zero-height"}) {
      EXPECT_NE(name.rfind(prefix, 0), 0u) << "decoded a file that must be refused";
    }
  }
  EXPECT_GE(refused, 5);
}

}  // namespace
}  // namespace orvo::win32
