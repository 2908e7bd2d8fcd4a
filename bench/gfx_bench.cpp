// Drawing and loading costs of the graphics layer, on the game's own pictures.
#include <benchmark/benchmark.h>

#include <string>

#include "game/cell_drawing.h"
#include "gfx/bitmap_cache.h"
#include "gfx/library_codecs.h"
#include "gfx/sprite_draw.h"
#include "gfx/surface_table.h"
#include "tests/gfx/disk_files.h"
#include "tests/gfx/jpeg_writer.h"

namespace {

const orvo_test::DiskFiles kFiles;

using namespace orvo::gfx;
using orvo::game::BlockDraw;
using orvo::game::CellRestore;

const orvo::gfx::LibraryPictureDecoder decoder;

std::string Picture(const char* name) {
  return std::string(ORVO_GRAPHICS_DIR) + name;
}

// The cache loaded as the game loads it, plus a 480 x 288 board surface.
struct Scene {
  SurfaceTable table;
  BitmapCache cache;
  SurfaceHandle front = kNoSurface;
  std::int32_t back = -1;
  std::int32_t blocks = -1;
  std::int32_t grid = -1;

  bool Load() {
    cache.InitBitmaps(table, kFiles, decoder);
    back = cache.LoadBitmap(Picture("GameBack.jpg"), false);
    blocks = cache.LoadBitmap(Picture("Blocks.gif"), true);
    grid = cache.LoadBitmap(Picture("Grid.gif"), false);
    front = table.Create(480, 288);
    return back >= 0 && blocks >= 0 && grid >= 0;
  }
};

void BM_MaskedBlockDraw(benchmark::State& state) {
  Scene s;
  if (!s.Load()) return state.SkipWithError(s.cache.LastError().c_str());
  const BitmapEntry& blocks = *s.cache.Entry(s.blocks);
  int n = 0;
  for (auto _ : state) {
    BlockDraw(s.table, s.front, blocks, n % 10, n % 6, 1 + n % 5, n % 6);
    benchmark::ClobberMemory();
    ++n;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MaskedBlockDraw);

void BM_CellRestore(benchmark::State& state) {
  Scene s;
  if (!s.Load()) return state.SkipWithError(s.cache.LastError().c_str());
  const BitmapEntry& back = *s.cache.Entry(s.back);
  int n = 0;
  for (auto _ : state) {
    CellRestore(s.table, s.front, back, n % 10, n % 6);
    benchmark::ClobberMemory();
    ++n;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CellRestore);

void BM_BuildMaskOfSheet(benchmark::State& state) {
  Scene s;
  if (!s.Load()) return state.SkipWithError(s.cache.LastError().c_str());
  for (auto _ : state) {
    s.cache.BuildMask(s.blocks);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BuildMaskOfSheet)->Unit(benchmark::kMicrosecond);

void BM_LoadThreePictures(benchmark::State& state) {
  SurfaceTable table;
  BitmapCache cache;
  for (auto _ : state) {
    cache.InitBitmaps(table, kFiles, decoder);
    const bool ok = cache.LoadBitmap(Picture("GameBack.jpg"), false) >= 0 &&
                    cache.LoadBitmap(Picture("Blocks.gif"), true) >= 0 &&
                    cache.LoadBitmap(Picture("Grid.gif"), false) >= 0;
    if (!ok) return state.SkipWithError(cache.LastError().c_str());
    cache.FreeBitmaps();
  }
}
BENCHMARK(BM_LoadThreePictures)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// The slowest pictures the limits accept: 2048 x 2048 of noise, as a
// progressive colour JPEG (libjpeg's ten scans, full colour resolution) and
// as a greyscale one with one scan per coefficient band (64 scans).
Surface Noise() {
  Surface s(2048, 2048);
  std::uint32_t x = 12345;
  for (Color& c : s.Pixels()) {
    x = x * 1664525u + 1013904223u;
    c = x >> 8;
  }
  return s;
}

void DecodeJpeg(benchmark::State& state, const std::vector<std::uint8_t>& bytes) {
  for (auto _ : state) {
    std::string reason;
    if (!decoder.Decode(bytes, reason)) return state.SkipWithError(reason.c_str());
  }
  state.counters["file_bytes"] = static_cast<double>(bytes.size());
}

void BM_DecodeLargestProgressiveJpeg(benchmark::State& state) {
  const Surface noise = Noise();
  DecodeJpeg(state, testing::EncodeJpeg(noise, testing::JpegKind::kColour, true, 85));
}
BENCHMARK(BM_DecodeLargestProgressiveJpeg)->Unit(benchmark::kMillisecond);

void BM_DecodeLargestJpegOfManyScans(benchmark::State& state) {
  const Surface noise = Noise();
  DecodeJpeg(state, testing::EncodeJpeg(noise, testing::JpegKind::kGrey, false, 85, true));
}
BENCHMARK(BM_DecodeLargestJpegOfManyScans)->Unit(benchmark::kMillisecond);
