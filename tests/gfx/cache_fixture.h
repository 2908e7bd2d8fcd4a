// A bound bitmap cache over its own surface table, fed with pictures that the
// test writes in the raw test format into a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "gfx/bitmap_cache.h"
#include "gfx/surface_table.h"
#include "tests/gfx/disk_files.h"
#include "tests/gfx/raw_picture.h"
#include "tests/gfx/test_files.h"

namespace orvo::gfx::testing {

class CacheTest : public ::testing::Test {
 protected:
  void SetUp() override { cache.InitBitmaps(table, files, raw); }

  // Writes `picture` as `name` into the temporary folder; its path.
  std::string Write(const std::string& name, const Surface& picture) {
    const std::string path = dir / name;
    WriteBytes(path, EncodeRaw(picture));
    return path;
  }

  // Writes and loads a picture; the index LoadBitmap gives.
  std::int32_t Load(const std::string& name, const Surface& picture, bool mask) {
    return cache.LoadBitmap(Write(name, picture), mask);
  }

  const Surface& SurfaceOf(SurfaceHandle h) {
    const Surface* s = table.Get(h);
    EXPECT_NE(s, nullptr) << "handle " << h;
    static const Surface kNone;
    return s ? *s : kNone;
  }

  TempDir dir;
  RawPictureDecoder raw;
  orvo_test::DiskFiles files;
  SurfaceTable table;
  BitmapCache cache;
};

}  // namespace orvo::gfx::testing
