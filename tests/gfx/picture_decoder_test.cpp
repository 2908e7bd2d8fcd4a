// The Linux picture decoder (giflib, libjpeg-turbo) through the file
// loader: exact colours, GIF layouts, JPEG kinds, and every way a file can
// be wrong, refused with the file's name and a reason.
#include "gfx/picture_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <utility>

#include "gfx/library_codecs.h"
#include "gfx/picture_header.h"
#include "tests/gfx/disk_files.h"
#include "tests/gfx/jpeg_writer.h"
#include "tests/gfx/test_files.h"
#include "tests/gfx/tiny_jpeg.h"

namespace orvo::gfx {
namespace {

const orvo_test::DiskFiles kFiles;

using testing::Bytes;
using testing::EncodeGif;
using testing::EncodeJpeg;
using testing::FromRows;
using testing::GifLayout;
using testing::JpegKind;
using testing::TempDir;
using testing::WriteBytes;

// Colours that must survive exactly, white and its near neighbours included.
Surface Palette() {
  return FromRows({{kWhite, 0xFEFFFF, 0xFFFFFE, 0x0000FF},
                   {kBlack, 0x123456, 0xFFFEFF, 0x00FF00},
                   {0x010101, 0xABCDEF, 0x808080, 0xFF0000}});
}

// A picture of soft gradients, which JPEG keeps within a few steps.
Surface Gradient(int w, int h) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) SetPixel(s, x, y, Rgb(x * 255 / w, y * 255 / h, 128));
  }
  return s;
}

bool operator==(const Surface& a, const Surface& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() && a.Pixels() == b.Pixels();
}

// Every channel within `tolerance`, and the high byte clear.
bool Near(Color got, Color want, int tolerance) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(static_cast<int>((got >> shift) & 0xFF) -
                 static_cast<int>((want >> shift) & 0xFF)) > tolerance) {
      return false;
    }
  }
  return (got >> 24) == 0;
}

class Decoder : public ::testing::Test {
 protected:
  // Writes `bytes` as `name` and decodes it.
  std::optional<Surface> Decode(const std::string& name, const Bytes& bytes) {
    path = dir / name;
    WriteBytes(path, bytes);
    error.clear();
    return DecodePictureFile(kFiles, path, decoder, error);
  }
  // Decoding must fail, with a message that names the file and the reason.
  void ExpectRefused(const std::string& name, const Bytes& bytes, const std::string& reason) {
    EXPECT_EQ(Decode(name, bytes), std::nullopt) << name;
    EXPECT_EQ(error.rfind(path + ": ", 0), 0u) << error;
    EXPECT_NE(error.find(reason), std::string::npos) << error;
  }

  LibraryPictureDecoder decoder;
  TempDir dir;
  std::string path;
  std::string error;
};

TEST_F(Decoder, GifKeepsEveryColourExactly) {
  const Surface palette = Palette();
  std::optional<Surface> got = Decode("p.gif", EncodeGif(palette));
  ASSERT_TRUE(got) << error;
  EXPECT_TRUE(*got == palette);

  Surface many(60, 40);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 60; ++x)
      SetPixel(many, x, y, Rgb(x % 8 * 30, y % 5 * 50, (x + y) % 6 * 40));
  }
  got = Decode("many.gif", EncodeGif(many));
  ASSERT_TRUE(got) << error;
  EXPECT_TRUE(*got == many);
}

TEST_F(Decoder, InterlacedGifRowsLandInTheirPlaces) {
  Surface rows(3, 11);
  for (int y = 0; y < 11; ++y) {
    for (int x = 0; x < 3; ++x) SetPixel(rows, x, y, Rgb(y * 20, x * 50, 7));
  }
  GifLayout layout;
  layout.interlaced = true;
  std::optional<Surface> got = Decode("interlaced.gif", EncodeGif(rows, layout));
  ASSERT_TRUE(got) << error;
  EXPECT_TRUE(*got == rows);
}

TEST_F(Decoder, AGifImageIsPlacedOnItsScreen) {
  // A 2 x 2 image at (3, 1) on a 6 x 4 screen whose background is the
  // image's second colour.
  const Surface image = FromRows({{0x0000FF, 0x00FF00}, {0x00FF00, 0xFF0000}});
  GifLayout layout{6, 4, 3, 1, false, 1};
  std::optional<Surface> got = Decode("placed.gif", EncodeGif(image, layout));
  ASSERT_TRUE(got) << error;
  Surface want(6, 4, 0x00FF00);
  SetPixel(want, 3, 1, 0x0000FF);
  SetPixel(want, 4, 2, 0xFF0000);
  EXPECT_TRUE(*got == want);

  // An image reaching past a smaller screen makes the picture large enough
  // to hold it.
  layout = GifLayout{2, 2, 1, 1, false, 1};
  got = Decode("past.gif", EncodeGif(image, layout));
  ASSERT_TRUE(got) << error;
  EXPECT_EQ(got->Width(), 3);
  EXPECT_EQ(got->Height(), 3);
  EXPECT_EQ(GetPixel(*got, 1, 1), 0x0000FFu);
  EXPECT_EQ(GetPixel(*got, 2, 2), 0xFF0000u);
}

TEST_F(Decoder, JpegInColourGreyAndCmykBaselineAndProgressive) {
  std::optional<Surface> tiny =
      Decode("t.jpg", Bytes(std::begin(testing::kTinyJpeg), std::end(testing::kTinyJpeg)));
  ASSERT_TRUE(tiny) << error;
  ASSERT_EQ(tiny->Width(), 16);
  ASSERT_EQ(tiny->Height(), 8);
  EXPECT_TRUE(Near(GetPixel(*tiny, 2, 3), 0x0000FF, 8)) << std::hex << GetPixel(*tiny, 2, 3);
  EXPECT_TRUE(Near(GetPixel(*tiny, 13, 5), kWhite, 8)) << std::hex << GetPixel(*tiny, 13, 5);

  const Surface gradient = Gradient(40, 24);
  for (const bool progressive : {false, true}) {
    for (const JpegKind kind : {JpegKind::kColour, JpegKind::kGrey, JpegKind::kCmyk}) {
      SCOPED_TRACE(::testing::Message()
                   << "kind " << static_cast<int>(kind) << " progressive " << progressive);
      std::optional<Surface> got = Decode("g.jpg", EncodeJpeg(gradient, kind, progressive));
      ASSERT_TRUE(got) << error;
      ASSERT_EQ(got->Width(), 40);
      ASSERT_EQ(got->Height(), 24);
      for (const auto& [x, y] : {std::pair{0, 0}, {20, 12}, {39, 23}}) {
        Color want = GetPixel(gradient, x, y);
        if (kind == JpegKind::kGrey) {
          const Color g = (want >> 8) & 0xFF;
          want = Rgb(g, g, g);
        }
        EXPECT_TRUE(Near(GetPixel(*got, x, y), want, 12))
            << x << "," << y << " " << std::hex << GetPixel(*got, x, y) << " want " << want;
      }
    }
  }
}

// Each scan of a progressive file is a pass over the whole picture: a file of
// a few hundred scans would burn time for nothing.
TEST_F(Decoder, AProgressiveJpegOfTooManyScansIsRefused) {
  const Surface gradient = Gradient(32, 16);
  std::optional<Surface> got =
      Decode("64-scans.jpg", EncodeJpeg(gradient, JpegKind::kGrey, false, 90, true));
  ASSERT_TRUE(got) << error;
  EXPECT_TRUE(Near(GetPixel(*got, 31, 15), Rgb(0xF0, 0xF0, 0xF0), 16))
      << std::hex << GetPixel(*got, 31, 15);
  ExpectRefused("190-scans.jpg", EncodeJpeg(gradient, JpegKind::kColour, false, 90, true),
                "too many scans");
}

TEST_F(Decoder, FilesThatAreNoPictureAreRefused) {
  ExpectRefused("empty.gif", {}, "not a JPEG or GIF picture");
  ExpectRefused("text.jpg", {'h', 'e', 'l', 'l', 'o', '\n'}, "not a JPEG or GIF picture");
  ExpectRefused("bitmap.gif", {'B', 'M', 0x3E, 0, 0, 0, 0, 0, 0, 0}, "not a JPEG or GIF picture");
  ExpectRefused("png.gif", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13},
                "not a JPEG or GIF picture");
  ExpectRefused("gif-magic-only.gif", {'G', 'I', 'F', '8', '9', 'a'}, "no picture size");
}

// What the platform cannot open or read is refused with the file's name, and
// the system's words when it has any.
TEST(DecodePictureFile, SaysWhyAFileCannotBeRead) {
  using Status = FileRead::Status;
  struct Refuses : FileReader {
    FileRead read;
    std::optional<std::vector<FolderEntry>> ListFolder(const std::string&) const override {
      return std::nullopt;
    }
    FileRead ReadFile(const std::string&, std::int64_t limit,
                      std::vector<std::uint8_t>&) const override {
      EXPECT_EQ(limit, kMaxPictureFileBytes);
      return read;
    }
  };
  const struct {
    FileRead read;
    const char* error;
  } cases[] = {
      {{Status::kCannotOpen, "No such file or directory"},
       "G/x.gif: cannot open: No such file or directory"},
      {{Status::kCannotOpen, ""}, "G/x.gif: cannot open"},
      {{Status::kTooLarge, ""}, "G/x.gif: file too large to be a picture (more than 8 MiB)"},
      {{Status::kReadError, "Is a directory"}, "G/x.gif: read error"},
  };
  for (const auto& c : cases) {
    Refuses files;
    files.read = c.read;
    std::string error;
    EXPECT_EQ(DecodePictureFile(files, "G/x.gif", LibraryDecoder(), error), std::nullopt);
    EXPECT_EQ(error, c.error);
  }
}

TEST_F(Decoder, EveryCutOffCopyIsRefused) {
  const Bytes gif = EncodeGif(Palette());
  const Bytes jpg = EncodeJpeg(Gradient(24, 16), JpegKind::kColour, true);
  // A GIF cut just before its closing ';' still holds the whole image.
  for (auto [name, bytes, keep] : {std::tuple{"cut.gif", gif, 1}, std::tuple{"cut.jpg", jpg, 0}}) {
    const std::size_t last = bytes.size() - 1 - keep;
    for (std::size_t n = 0; n < last; ++n) {
      const auto h = ReadPictureHeader(std::span(bytes.data(), n));
      EXPECT_TRUE(!h || !h->complete || h->width == 0) << name << " cut at " << n;
    }
    for (std::size_t n : {std::size_t{1}, std::size_t{7}, std::size_t{12}, std::size_t{30},
                          bytes.size() / 3, bytes.size() / 2, last - 2, last - 1}) {
      EXPECT_EQ(Decode(name, Bytes(bytes.begin(), bytes.begin() + n)), std::nullopt)
          << name << " cut at " << n;
      EXPECT_EQ(error.rfind(path + ": ", 0), 0u) << error;
    }
  }
}

TEST_F(Decoder, DamagedDataIsRefusedWithTheDecodersReason) {
  // A GIF whose first code after the clear names an entry the table does not
  // have yet.
  Bytes gif = EncodeGif(Palette());
  const std::size_t data = 13 + 256 * 3 + 10 + 1;  // first data sub-block's length byte
  ASSERT_EQ(gif[data - 11], ',');
  gif[data + 2] = 0xFF;  // the second 9-bit code becomes 511
  gif[data + 3] = 0xFF;
  ExpectRefused("codes.gif", gif, "");
  EXPECT_NE(error.find("defective"), std::string::npos) << error;

  // A JPEG whose entropy-coded data meets an unexpected marker halfway.
  Bytes jpg = EncodeJpeg(Gradient(64, 64));
  std::size_t scan = 2;
  while (scan + 1 < jpg.size() && !(jpg[scan] == 0xFF && jpg[scan + 1] == 0xDA)) ++scan;
  const std::size_t middle = scan + (jpg.size() - scan) / 2;
  jpg[middle] = 0xFF;
  jpg[middle + 1] = 0xD3;  // a restart marker in a file without restarts
  ExpectRefused("marker.jpg", jpg, "");
  EXPECT_GT(error.size(), path.size() + 8) << "no reason given: " << error;
}

// A JPEG whose frame header claims width x height; the rest is a real file.
Bytes JpegClaiming(int width, int height) {
  Bytes jpg = EncodeJpeg(Gradient(16, 8));
  std::size_t sof = 2;
  while (sof + 1 < jpg.size() && !(jpg[sof] == 0xFF && jpg[sof + 1] == 0xC0)) ++sof;
  EXPECT_LT(sof + 8, jpg.size());
  jpg[sof + 5] = static_cast<std::uint8_t>(height >> 8);
  jpg[sof + 6] = static_cast<std::uint8_t>(height);
  jpg[sof + 7] = static_cast<std::uint8_t>(width >> 8);
  jpg[sof + 8] = static_cast<std::uint8_t>(width);
  return jpg;
}

TEST_F(Decoder, DeclaredSizesBeyondTheLimitsAreRefusedBeforeDecoding) {
  Bytes gif = EncodeGif(Palette());
  gif[6] = gif[7] = gif[8] = gif[9] = 0xFF;  // screen 65535 x 65535
  ExpectRefused("screen.gif", gif, "too large");

  // A small image placed far out on a small screen.
  GifLayout far{4, 3, 11308, 11308, false, 0};
  ExpectRefused("offset.gif", EncodeGif(Palette(), far), "11312 x 11311 is too large");
  far = GifLayout{4, 3, 4093, 0, false, 0};
  ExpectRefused("just-past.gif", EncodeGif(Palette(), far), "4097 x 3 is too large");

  // A later image counts as well.
  Bytes two = EncodeGif(Palette());
  two.pop_back();  // the trailer
  const Bytes second = EncodeGif(Palette(), GifLayout{4, 3, 9000, 0, false, 0});
  two.insert(two.end(), second.begin() + 13 + 256 * 3, second.end());
  ExpectRefused("second.gif", two, "too large");

  ExpectRefused("huge.jpg", JpegClaiming(16384, 16384), "16384 x 16384 is too large");
  ExpectRefused("wide.jpg", JpegClaiming(4097, 8), "too large");
  ExpectRefused("area.jpg", JpegClaiming(2049, 2049), "too large");
}

TEST_F(Decoder, TheLargestAllowedSidesDecode) {
  for (const auto& [w, h] : {std::pair{4096, 1}, {1, 4096}}) {
    const Surface line(w, h, 0x00FF00);
    std::optional<Surface> got = Decode("line.gif", EncodeGif(line));
    ASSERT_TRUE(got) << error;
    EXPECT_TRUE(*got == line);
  }
}

TEST_F(Decoder, AFileLargerThanAnyPictureIsNotRead) {
  Bytes big = EncodeGif(Palette());
  big.resize(static_cast<std::size_t>(kMaxPictureFileBytes) + 1, 0);
  ExpectRefused("big.gif", big, "file too large");
}

// Whatever a platform's decoder returns, the loader never takes a picture
// without pixels or beyond the limits.
TEST(DecodePictureFile, RefusesWhatADecoderShouldNotHaveReturned) {
  struct Returns : PictureDecoder {
    int w, h;
    Returns(int width, int height) : w(width), h(height) {}
    std::optional<Surface> Decode(std::span<const std::uint8_t>, std::string&) const override {
      return Surface(w, h);
    }
  };
  TempDir dir;
  WriteBytes(dir / "any", {1, 2, 3});
  std::string error;
  EXPECT_TRUE(DecodePictureFile(kFiles, dir / "any", Returns(3, 2), error));
  EXPECT_FALSE(DecodePictureFile(kFiles, dir / "any", Returns(0, 0), error));
  EXPECT_NE(error.find("no pixels"), std::string::npos) << error;
  EXPECT_FALSE(DecodePictureFile(kFiles, dir / "any", Returns(4097, 1), error));
  EXPECT_NE(error.find("too large"), std::string::npos) << error;
}

}  // namespace
}  // namespace orvo::gfx
