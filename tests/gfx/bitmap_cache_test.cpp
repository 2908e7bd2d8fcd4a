#include "gfx/bitmap_cache.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/gfx/cache_fixture.h"

namespace orvo::gfx {
namespace {

using testing::FromRows;

class BitmapCacheTest : public testing::CacheTest {
 protected:
  // The whole observable state of the cache, to compare before and after.
  struct Snapshot {
    std::int32_t last;
    std::vector<std::tuple<std::string, SurfaceHandle, SurfaceHandle, int, int>> entries;
    std::size_t live;
    bool operator==(const Snapshot&) const = default;
  };
  Snapshot Take() const {
    Snapshot s{cache.LastBitmap(), {}, table.LiveCount()};
    for (const BitmapEntry& e : cache.Bitmaps()) {
      s.entries.emplace_back(e.Name, e.DC, e.MaskDC, e.Width, e.Height);
    }
    return s;
  }
  void ExpectLoadFails(const std::string& path, const std::string& reason) {
    const Snapshot before = Take();
    EXPECT_EQ(cache.LoadBitmap(path, true), -1) << path;
    EXPECT_TRUE(Take() == before) << path;
    EXPECT_NE(cache.LastError().find(path), std::string::npos) << cache.LastError();
    EXPECT_NE(cache.LastError().find(reason), std::string::npos) << cache.LastError();
  }
};

TEST_F(BitmapCacheTest, DistinctFilesGetConsecutiveIndicesWithTheirSizesAndMasks) {
  EXPECT_EQ(cache.LastBitmap(), -1);
  EXPECT_EQ(Load("back.pic", Surface(5, 3, 0x112233), false), 0);
  EXPECT_EQ(Load("blocks.pic", FromRows({{kWhite, 1, 2}, {3, kWhite, 4}}), true), 1);
  EXPECT_EQ(Load("grid.pic", Surface(2, 2, 0x808080), false), 2);
  EXPECT_EQ(cache.LastBitmap(), 2);
  ASSERT_EQ(cache.Bitmaps().size(), 3u);

  const BitmapEntry& back = *cache.Entry(0);
  EXPECT_EQ(back.Name, testing::ToLowerPath(dir / "back.pic"));
  EXPECT_EQ(back.Width, 5);
  EXPECT_EQ(back.Height, 3);
  EXPECT_EQ(back.MaskDC, kNoMask);
  EXPECT_EQ(SurfaceOf(back.DC).Pixels(), std::vector<Color>(15, 0x112233));

  const BitmapEntry& blocks = *cache.Entry(1);
  const Surface& mask = SurfaceOf(blocks.MaskDC);
  EXPECT_EQ(mask.Width(), 3);
  EXPECT_EQ(mask.Height(), 2);
  EXPECT_EQ(mask.Pixels(), (std::vector<Color>{kBlack, kWhite, kWhite, kWhite, kBlack, kWhite}));
  EXPECT_EQ(cache.Entry(2)->MaskDC, kNoMask);

  EXPECT_EQ(cache.Entry(3), nullptr);
  EXPECT_EQ(cache.Entry(-1), nullptr);
  EXPECT_EQ(table.LiveCount(), 4u);  // three pictures and one mask
}

TEST_F(BitmapCacheTest, SamePathInOtherLetterCaseIsTheSameEntry) {
  const std::string real = dir / "Graphics/Blocks.pic";
  Write("Graphics/Blocks.pic", Surface(4, 4, 0x123456));

  const std::int32_t first = cache.LoadBitmap(dir / "Graphics/Blocks.pic", true);
  ASSERT_EQ(first, 0) << cache.LastError();
  const std::size_t live = table.LiveCount();
  EXPECT_EQ(cache.LoadBitmap(dir / "GRAPHICS/BLOCKS.PIC", true), first);
  EXPECT_EQ(cache.LoadBitmap(dir / "graphics/blocks.pic", false), first);
  EXPECT_EQ(table.LiveCount(), live);
  EXPECT_EQ(cache.LastBitmap(), 0);
}

TEST_F(BitmapCacheTest, MissingHiddenOrFolderPathsFailAndChangeNothing) {
  Load("a.pic", Surface(2, 2), true);
  std::filesystem::create_directories(dir / "folder.pic");
  Write(".hidden.pic", Surface(2, 2));
  ExpectLoadFails(dir / "missing.pic", "no such file");
  ExpectLoadFails(dir / "folder.pic", "no such file");
  ExpectLoadFails(dir / ".hidden.pic", "no such file");
  ExpectLoadFails("", "no such file");
}

TEST_F(BitmapCacheTest, CachedPathWhoseFileVanishedFailsButKeepsItsEntry) {
  const std::string path = Write("gone.pic", Surface(3, 3, 0x010203));
  ASSERT_EQ(cache.LoadBitmap(path, true), 0);
  std::filesystem::remove(path);
  ExpectLoadFails(path, "no such file");
  EXPECT_EQ(cache.Entry(0)->Width, 3);
  EXPECT_NE(table.Get(cache.Entry(0)->DC), nullptr);
}

TEST_F(BitmapCacheTest, FilesThatCannotBeDecodedLeaveTheCacheAsItWas) {
  Load("good.pic", Surface(2, 2), false);
  const std::string empty = dir / "empty.gif";
  testing::WriteBytes(empty, {});
  ExpectLoadFails(empty, "not a raw test picture");
  const std::string text = dir / "text.jpg";
  testing::WriteBytes(text, {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
  ExpectLoadFails(text, "not a raw test picture");
  // Once the file holds a picture, the same path loads normally.
  Write("text.jpg", Surface(1, 1));
  EXPECT_EQ(cache.LoadBitmap(text, false), 1);
}

TEST_F(BitmapCacheTest, FailedCreationUsesUpAnIndexButPoisonsNothing) {
  const std::string a = Write("a.pic", Surface(2, 3, 0x0000FF));
  const std::string b = Write("b.pic", Surface(4, 1, 0x00FF00));

  table.LimitCreations(0);
  EXPECT_EQ(cache.LoadBitmap(a, false), -1);
  EXPECT_EQ(cache.LastBitmap(), 0);
  const BitmapEntry failed = *cache.Entry(0);
  EXPECT_EQ(failed.Name, "");
  EXPECT_EQ(failed.DC, kNoSurface);
  EXPECT_EQ(failed.MaskDC, kNoMask);
  EXPECT_EQ(failed.Width, 0);
  EXPECT_EQ(failed.Height, 0);
  EXPECT_NE(cache.LastError().find(a), std::string::npos) << cache.LastError();

  // One creation left: the picture gets it, the mask cannot be made and
  // names no surface; the picture itself is usable.
  table.LimitCreations(1);
  EXPECT_EQ(cache.LoadBitmap(b, true), 1);
  EXPECT_NE(cache.Entry(1)->DC, kNoSurface);
  EXPECT_EQ(cache.Entry(1)->MaskDC, kNoSurface);

  // The failed entry matches no path: the file loads into a new entry now.
  table.LimitCreations(100);
  EXPECT_EQ(cache.LoadBitmap(a, true), 2);
  EXPECT_EQ(cache.LastBitmap(), 2);
  EXPECT_EQ(SurfaceOf(cache.Entry(2)->DC).Pixels(), std::vector<Color>(6, 0x0000FF));
  EXPECT_EQ(SurfaceOf(cache.Entry(2)->MaskDC).Pixels(), std::vector<Color>(6, kWhite));
}

TEST_F(BitmapCacheTest, FreeBitmapsDestroysEverySurfaceAndIsHarmlessTwice) {
  const SurfaceHandle other = table.Create(1, 1);  // not the cache's
  cache.FreeBitmaps();
  EXPECT_EQ(cache.LastBitmap(), -1);
  EXPECT_EQ(table.LiveCount(), 1u);

  Load("a.pic", Surface(2, 2), true);
  Load("b.pic", Surface(2, 2), false);
  EXPECT_EQ(table.LiveCount(), 4u);
  cache.FreeBitmaps();
  EXPECT_EQ(cache.LastBitmap(), -1);
  EXPECT_TRUE(cache.Bitmaps().empty());
  EXPECT_EQ(table.LiveCount(), 1u);
  EXPECT_NE(table.Get(other), nullptr);
  cache.ReleaseBitmaps();
  EXPECT_EQ(cache.LastBitmap(), -1);
  EXPECT_EQ(table.LiveCount(), 1u);

  EXPECT_EQ(cache.LoadBitmap(dir / "a.pic", false), 0);  // starts again at 0
}

TEST_F(BitmapCacheTest, RebindingReleasesTheSurfacesOfTheEarlierTable) {
  Load("a.pic", Surface(2, 2), true);
  SurfaceTable other;
  cache.InitBitmaps(other, files, raw);
  EXPECT_EQ(table.LiveCount(), 0u);
  EXPECT_EQ(cache.LastBitmap(), -1);
  EXPECT_EQ(cache.LoadBitmap(dir / "a.pic", false), 0);
  EXPECT_EQ(other.LiveCount(), 1u);
}

TEST(BitmapCacheUnbound, LoadsNothingBeforeInitBitmaps) {
  BitmapCache cache;
  EXPECT_EQ(cache.LoadBitmap("/", false), -1);
  EXPECT_EQ(cache.CreateMemoryDC(2, 2, true), kNoSurface);
  cache.BuildMask(0);
  cache.FreeBitmaps();
  EXPECT_EQ(cache.LastBitmap(), -1);
}

TEST_F(BitmapCacheTest, MemorySurfacesAndDirectPictureLoads) {
  const SurfaceHandle filled = cache.CreateMemoryDC(3, 2, true);
  EXPECT_EQ(SurfaceOf(filled).Pixels(), std::vector<Color>(6, kBlack));
  EXPECT_EQ(SurfaceOf(cache.CreateMemoryDC(4, 5, false)).Width(), 4);
  EXPECT_EQ(cache.CreateMemoryDC(-1, 5, false), kNoSurface);

  BitmapEntry entry;
  const SurfaceHandle h = cache.LoadPictureToDC(Write("Pic.PIC", Surface(3, 1, 0x0A0B0C)), entry);
  EXPECT_EQ(entry.DC, h);
  EXPECT_EQ(entry.Name, testing::ToLowerPath(dir / "Pic.PIC"));
  EXPECT_EQ(entry.Width, 3);
  EXPECT_EQ(entry.Height, 1);

  BitmapEntry untouched;
  testing::WriteBytes(dir / "bad.pic", {1, 2, 3});
  EXPECT_EQ(cache.LoadPictureToDC(dir / "bad.pic", untouched), -1);
  EXPECT_EQ(untouched.DC, kNoSurface);
  EXPECT_EQ(untouched.Name, "");
  EXPECT_TRUE(cache.Bitmaps().empty());  // LoadPictureToDC never appends
}

}  // namespace
}  // namespace orvo::gfx
