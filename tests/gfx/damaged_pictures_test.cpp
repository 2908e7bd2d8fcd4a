// Every file of the damaged-picture corpus (tests/gfx/damaged_pictures/:
// crafted sizes, cut and mutated copies of the game's pictures, and files
// that once crashed a picture decoder) goes through the loader as the game
// loads its pictures. Each is either refused, naming the file and a reason,
// or loaded within the limits with a mask of its size; nothing else happens
// (the sanitizer build runs this too).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/bitmap_cache.h"
#include "gfx/library_codecs.h"
#include "gfx/surface_table.h"
#include "tests/gfx/disk_files.h"

namespace orvo::gfx {
namespace {

const orvo_test::DiskFiles kFiles;

namespace fs = std::filesystem;

std::vector<fs::path> Corpus() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(ORVO_SOURCE_DIR "/tests/gfx/damaged_pictures")) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Files whose declared sizes are beyond the limits, or that hold no usable
// picture at all: these must be refused, whatever else they hold.
bool MustBeRefused(const std::string& name) {
  for (const char* prefix : {"huge-", "frame-far-out", "second-frame-far-out", "no-colour-table",
                             "zero-height", "blocks-cut", "gameback-cut"}) {
    if (name.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

TEST(DamagedPictures, AreRefusedWithAReasonOrLoadedWithinTheLimits) {
  const std::vector<fs::path> files = Corpus();
  ASSERT_GE(files.size(), 20u) << "the corpus is missing";
  const LibraryPictureDecoder decoder;
  int refused = 0;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    SurfaceTable table;
    BitmapCache cache;
    cache.InitBitmaps(table, kFiles, decoder);
    const std::int32_t index = cache.LoadBitmap(file.string(), true);
    if (index < 0) {
      ++refused;
      const std::string& error = cache.LastError();
      EXPECT_EQ(error.rfind(file.string() + ": ", 0), 0u) << error;
      EXPECT_GT(error.size(), file.string().size() + 4) << "no reason: " << error;
      EXPECT_EQ(table.LiveCount(), 0u);
      continue;
    }
    EXPECT_FALSE(MustBeRefused(file.filename().string()));
    const BitmapEntry& entry = *cache.Entry(index);
    std::string why;
    EXPECT_TRUE(PictureSizeAllowed(entry.Width, entry.Height, why)) << why;
    const Surface* mask = table.Get(entry.MaskDC);
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(mask->Width(), entry.Width);
    EXPECT_EQ(mask->Height(), entry.Height);
  }
  // Most of the corpus is beyond repair; a corpus that all loads has lost
  // its point.
  EXPECT_GT(refused, static_cast<int>(files.size()) / 2);
}

}  // namespace
}  // namespace orvo::gfx
