#include "gfx/picture_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "gfx/picture_header.h"
#include "tests/gfx/test_files.h"
#include "tests/gfx/tiny_jpeg.h"

namespace orvo::gfx {
namespace {

using testing::Bytes;
using testing::EncodeGif;
using testing::FromRows;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// Colours that must survive exactly, white and its near neighbours included.
Surface Palette() {
  return FromRows({{kWhite, 0xFEFFFF, 0xFFFFFE, 0x0000FF},
                   {kBlack, 0x123456, 0xFFFEFF, 0x00FF00},
                   {0x010101, 0xABCDEF, 0x808080, 0xFF0000}});
}

class Decoder : public ::testing::Test {
 protected:
  // Writes `bytes` as `name` and decodes it.
  std::optional<Surface> Decode(const std::string& name, const Bytes& bytes) {
    path = dir / name;
    WriteBytes(path, bytes);
    error.clear();
    return DecodePicture(path, error);
  }
  // Decoding must fail, with a message that names the file.
  void ExpectRefused(const std::string& name, const Bytes& bytes, const std::string& reason) {
    EXPECT_EQ(Decode(name, bytes), std::nullopt) << name;
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_NE(error.find(reason), std::string::npos) << error;
  }
  Bytes PngBytes(const Surface& s) {
    const std::string p = dir / "source.png";
    std::string e;
    EXPECT_TRUE(WritePng(s, p, e)) << e;
    return ReadBytes(p);
  }

  TempDir dir;
  std::string path;
  std::string error;
};

bool operator==(const Surface& a, const Surface& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() && a.Pixels() == b.Pixels();
}

TEST_F(Decoder, PngAndGifKeepEveryColourExactly) {
  const Surface want = Palette();
  std::optional<Surface> png = Decode("p.png", PngBytes(want));
  ASSERT_TRUE(png) << error;
  EXPECT_TRUE(*png == want);

  std::optional<Surface> gif = Decode("p.gif", EncodeGif(want));
  ASSERT_TRUE(gif) << error;
  EXPECT_TRUE(*gif == want);
}

TEST_F(Decoder, LargerGifWithManyColoursDecodes) {
  Surface want(60, 40);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 60; ++x)
      SetPixel(want, x, y, Rgb(x % 8 * 30, y % 5 * 50, (x + y) % 6 * 40));
  }
  std::optional<Surface> gif = Decode("big.gif", EncodeGif(want));
  ASSERT_TRUE(gif) << error;
  EXPECT_TRUE(*gif == want);
}

TEST_F(Decoder, JpegDecodesToItsSizeAndColours) {
  std::optional<Surface> jpg =
      Decode("t.jpg", Bytes(std::begin(testing::kTinyJpeg), std::end(testing::kTinyJpeg)));
  ASSERT_TRUE(jpg) << error;
  ASSERT_EQ(jpg->Width(), 16);
  ASSERT_EQ(jpg->Height(), 8);
  auto near = [](Color got, Color want) {
    for (int shift : {0, 8, 16}) {
      if (std::abs(static_cast<int>((got >> shift) & 0xFF) -
                   static_cast<int>((want >> shift) & 0xFF)) > 8) {
        return false;
      }
    }
    return (got >> 24) == 0;
  };
  EXPECT_TRUE(near(GetPixel(*jpg, 2, 3), 0x0000FF)) << std::hex << GetPixel(*jpg, 2, 3);
  EXPECT_TRUE(near(GetPixel(*jpg, 13, 5), kWhite)) << std::hex << GetPixel(*jpg, 13, 5);
}

TEST_F(Decoder, FilesThatAreNoPictureAreRefused) {
  ExpectRefused("empty.gif", {}, "not a JPEG, GIF or PNG");
  ExpectRefused("text.jpg", {'h', 'e', 'l', 'l', 'o', '\n'}, "not a JPEG, GIF or PNG");
  ExpectRefused("bitmap.png", {'B', 'M', 0x3E, 0, 0, 0, 0, 0, 0, 0}, "not a JPEG, GIF or PNG");
  ExpectRefused("gif-magic-only.gif", {'G', 'I', 'F', '8', '9', 'a'}, "no picture size");
  EXPECT_EQ(DecodePicture(dir / "missing.png", error), std::nullopt);
  EXPECT_NE(error.find("missing.png"), std::string::npos) << error;
}

TEST_F(Decoder, EveryCutOffCopyIsRefused) {
  const Bytes png = PngBytes(Palette());
  const Bytes gif = EncodeGif(Palette());
  const Bytes jpg(std::begin(testing::kTinyJpeg), std::end(testing::kTinyJpeg));
  // A GIF cut just before its closing ';' still holds the whole image.
  for (auto [name, bytes, keep] : {std::tuple{"cut.png", png, 0}, std::tuple{"cut.gif", gif, 1},
                                   std::tuple{"cut.jpg", jpg, 0}}) {
    const std::size_t last = bytes.size() - 1 - keep;
    for (std::size_t n = 0; n < last; ++n) {
      const std::optional<PictureHeader> h = ReadPictureHeader(std::span(bytes.data(), n));
      EXPECT_TRUE(!h || !h->complete || h->width == 0) << name << " cut at " << n;
    }
    for (std::size_t n : {std::size_t{1}, std::size_t{7}, std::size_t{12}, std::size_t{30},
                          bytes.size() / 3, bytes.size() / 2, last - 2, last - 1}) {
      EXPECT_EQ(Decode(name, Bytes(bytes.begin(), bytes.begin() + n)), std::nullopt)
          << name << " cut at " << n;
      EXPECT_NE(error.find(path), std::string::npos) << error;
    }
  }
}

// A PNG whose IHDR claims width x height, followed by an IEND: the pixels are
// never there, the size alone must stop it.
Bytes CraftedPng(std::uint32_t width, std::uint32_t height) {
  Bytes b = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  for (std::uint32_t v : {width, height}) {
    for (int shift : {24, 16, 8, 0}) b.push_back(static_cast<std::uint8_t>(v >> shift));
  }
  b.insert(b.end(), {8, 2, 0, 0, 0, 0, 0, 0, 0});  // depth, colour type, ..., CRC
  b.insert(b.end(), {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82});
  return b;
}

TEST_F(Decoder, AbsurdSizesAreRefusedBeforeDecoding) {
  ExpectRefused("huge.png", CraftedPng(100000, 100000), "too large");
  ExpectRefused("wide.png", CraftedPng(16385, 1), "too large");
  ExpectRefused("tall.png", CraftedPng(1, 0xFFFFFFFF), "too large");

  Bytes gif = EncodeGif(Palette());
  gif[6] = gif[7] = gif[8] = gif[9] = 0xFF;  // screen 65535 x 65535
  ExpectRefused("screen.gif", gif, "too large");

  gif = EncodeGif(Palette());
  const std::size_t image = 13 + 256 * 3;  // image descriptor after the colour table
  ASSERT_EQ(gif[image], ',');
  gif[image + 5] = gif[image + 6] = 0xF0;  // image 61680 wide on a 4 x 3 screen
  ExpectRefused("frame.gif", gif, "too large");

  Bytes jpg(std::begin(testing::kTinyJpeg), std::end(testing::kTinyJpeg));
  std::size_t sof = 2;
  while (sof + 1 < jpg.size() && !(jpg[sof] == 0xFF && jpg[sof + 1] == 0xC0)) ++sof;
  ASSERT_LT(sof + 8, jpg.size());
  jpg[sof + 5] = jpg[sof + 6] = jpg[sof + 7] = jpg[sof + 8] = 0xFF;  // 65535 x 65535
  ExpectRefused("huge.jpg", jpg, "too large");
}

TEST_F(Decoder, LargestAllowedSideStillDecodes) {
  Surface wide(16384, 1, 0x00FF00);
  std::optional<Surface> got = Decode("wide.png", PngBytes(wide));
  ASSERT_TRUE(got) << error;
  EXPECT_TRUE(*got == wide);
}

TEST_F(Decoder, WritePngReportsWhatItCannotDo) {
  EXPECT_FALSE(WritePng(Surface(), dir / "empty.png", error));
  EXPECT_NE(error.find("empty.png"), std::string::npos) << error;
  error.clear();
  EXPECT_FALSE(WritePng(Palette(), dir / "no/such/folder/x.png", error));
  EXPECT_NE(error.find("x.png"), std::string::npos) << error;
}

}  // namespace
}  // namespace orvo::gfx
