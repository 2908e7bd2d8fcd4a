// The game's own pictures: they load with the sizes the drawing code relies
// on, and damaged copies of them fail cleanly.
#include <gtest/gtest.h>

#include <filesystem>

#include "gfx/library_codecs.h"
#include "tests/gfx/cache_fixture.h"
#include "tests/gfx/disk_files.h"

namespace orvo::gfx {
namespace {

const orvo_test::DiskFiles kFiles;

struct RealPicture {
  const char* file;
  bool mask;
  int width;
  int height;
};

constexpr RealPicture kPictures[] = {
    {"GameBack.jpg", false, 480, 288},
    {"Blocks.gif", true, 7 * 48, 6 * 48},  // seven values by six frames of 48 x 48
    {"Grid.gif", false, 48, 48},
};

class RealPictures : public testing::CacheTest {
 protected:
  void SetUp() override {
    cache.InitBitmaps(table, kFiles, library);
    for (const RealPicture& p : kPictures) {
      if (!std::filesystem::exists(Real(p))) GTEST_SKIP() << Real(p) << " is not there";
    }
  }
  LibraryPictureDecoder library;
  static std::string Real(const RealPicture& p) { return std::string(ORVO_GRAPHICS_DIR) + p.file; }
};

TEST_F(RealPictures, LoadWithTheirSizesAndMasks) {
  for (std::int32_t i = 0; i < 3; ++i) {
    const RealPicture& p = kPictures[i];
    ASSERT_EQ(cache.LoadBitmap(Real(p), p.mask), i) << cache.LastError();
    const BitmapEntry& e = *cache.Entry(i);
    EXPECT_EQ(e.Width, p.width) << p.file;
    EXPECT_EQ(e.Height, p.height) << p.file;
    if (p.mask) {
      EXPECT_EQ(SurfaceOf(e.MaskDC).Width(), p.width);
      EXPECT_EQ(SurfaceOf(e.MaskDC).Height(), p.height);
    } else {
      EXPECT_EQ(e.MaskDC, kNoMask);
    }
  }
  EXPECT_EQ(cache.LastBitmap(), 2);
  // The same files named in capitals are the same entries.
  EXPECT_EQ(cache.LoadBitmap(std::string(ORVO_GRAPHICS_DIR) + "BLOCKS.GIF", true), 1);
  EXPECT_EQ(cache.LoadBitmap(std::string(ORVO_GRAPHICS_DIR) + "gameback.JPG", false), 0);
  EXPECT_EQ(table.LiveCount(), 4u);
}

TEST_F(RealPictures, DamagedCopiesFailAndLeaveTheCacheAlone) {
  ASSERT_EQ(cache.LoadBitmap(Real(kPictures[2]), false), 0);
  const std::size_t live = table.LiveCount();
  int copies = 0;
  for (const RealPicture& p : kPictures) {
    const testing::Bytes bytes = testing::ReadBytes(Real(p));
    ASSERT_GT(bytes.size(), 64u);
    std::vector<testing::Bytes> damaged = {{}};
    for (std::size_t n :
         {std::size_t{1}, std::size_t{2}, std::size_t{10}, std::size_t{100}, bytes.size() / 3,
          bytes.size() / 2, bytes.size() - 100, bytes.size() - 3}) {
      damaged.emplace_back(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
    }
    testing::Bytes wrong = bytes;  // the right data behind a wrong signature
    wrong[0] = 'X';
    wrong[1] = 'Y';
    damaged.push_back(wrong);
    for (const testing::Bytes& d : damaged) {
      const std::string path = dir / ("copy" + std::to_string(++copies) + "_" + p.file);
      testing::WriteBytes(path, d);
      EXPECT_EQ(cache.LoadBitmap(path, p.mask), -1) << path << " (" << d.size() << " bytes)";
      EXPECT_NE(cache.LastError().find(path), std::string::npos) << cache.LastError();
    }
  }
  EXPECT_EQ(cache.LastBitmap(), 0);
  EXPECT_EQ(table.LiveCount(), live);
}

}  // namespace
}  // namespace orvo::gfx
