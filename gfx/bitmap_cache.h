// The cache of loaded pictures: each file is decoded once into a surface,
// optionally with a transparency mask, and known by its index from then on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/picture_decoder.h"
#include "gfx/surface_table.h"

namespace orvo::gfx {

struct BitmapEntry {
  std::string Name;                   // the loaded path, lower-cased; empty after a failed creation
  SurfaceHandle DC = kNoSurface;      // the picture surface; 0 when its creation failed
  SurfaceHandle MaskDC = kNoSurface;  // the mask surface, or kNoMask (-1) without a mask
  std::int32_t Width = 0;
  std::int32_t Height = 0;
};

class BitmapCache {
 public:
  // Binds the cache to the surface table that owns its surfaces, to the
  // platform's files and to the decoder that turns them into pictures, and
  // empties it. All three must outlive the cache's use.
  void InitBitmaps(SurfaceTable& form, const FileReader& files, const PictureDecoder& decoder);
  // The entry's index, or -1 when the file does not exist or cannot be decoded
  // (LastError() then says why; the cache is unchanged).
  std::int32_t LoadBitmap(const std::string& path, bool makeMask);
  // Destroys every surface of the cache and empties it.
  void FreeBitmaps();
  // Shutdown's name for emptying the cache: the same as FreeBitmaps.
  void ReleaseBitmaps() { FreeBitmaps(); }

  // Decodes `path` into a new surface and fills `entry`; the new surface, or -1.
  SurfaceHandle LoadPictureToDC(const std::string& path, BitmapEntry& entry);
  // A new surface of the given size; `fill` paints it black.
  SurfaceHandle CreateMemoryDC(std::int32_t width, std::int32_t height, bool fill);
  // Gives entry `index` a new mask: black where the picture is exactly white,
  // white elsewhere.
  void BuildMask(std::int32_t index);

  std::int32_t LastBitmap() const { return last_bitmap_; }
  const std::vector<BitmapEntry>& Bitmaps() const { return bitmaps_; }
  // The entry at `index`, or nullptr when the index names no entry.
  const BitmapEntry* Entry(std::int32_t index) const;
  // Why the last LoadBitmap returned -1 (file and reason); empty otherwise.
  const std::string& LastError() const { return last_error_; }
  SurfaceTable* Form() const { return form_; }

 private:
  SurfaceTable* form_ = nullptr;
  const FileReader* files_ = nullptr;
  const PictureDecoder* decoder_ = nullptr;
  std::vector<BitmapEntry> bitmaps_;
  std::int32_t last_bitmap_ = -1;
  std::string last_error_;
};

}  // namespace orvo::gfx
