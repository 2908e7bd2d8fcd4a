#include "gfx/bitmap_cache.h"

#include <limits>
#include <optional>
#include <utility>

#include "gfx/ascii_case.h"
#include "gfx/file_lookup.h"
#include "gfx/picture_decoder.h"
#include "gfx/picture_surface.h"

namespace orvo::gfx {

void BitmapCache::InitBitmaps(SurfaceTable& form, const FileReader& files,
                              const PictureDecoder& decoder) {
  // Surfaces of an earlier binding belong to the earlier table: give them
  // back there before the cache forgets them.
  FreeBitmaps();
  form_ = &form;
  files_ = &files;
  decoder_ = &decoder;
  last_error_.clear();
}

std::int32_t BitmapCache::LoadBitmap(const std::string& path, bool makeMask) {
  last_error_.clear();
  if (form_ == nullptr || files_ == nullptr || decoder_ == nullptr) {
    last_error_ = path + ": the picture cache is not bound";
    return -1;
  }
  // The file must exist as an ordinary file, also when it is already cached.
  const std::optional<std::string> real = FindOrdinaryFile(*files_, path);
  if (!real) {
    last_error_ = path + ": no such file";
    return -1;
  }
  const std::string name = ToLowerAscii(path);
  const std::int32_t bound = last_bitmap_;
  for (std::int32_t i = 0; i <= bound; ++i) {
    // An entry whose creation failed has no name and matches nothing.
    const std::string& cached = bitmaps_[static_cast<std::size_t>(i)].Name;
    if (!cached.empty() && cached == name) return i;
  }
  // Decode before appending, so that a file that is no picture leaves the
  // cache as it was.
  std::string error;
  std::optional<Surface> picture = DecodePictureFile(*files_, *real, *decoder_, error);
  if (!picture) {
    last_error_ = error;
    return -1;
  }
  if (last_bitmap_ == std::numeric_limits<std::int32_t>::max()) {
    last_error_ = path + ": the picture cache is full";
    return -1;
  }
  ++last_bitmap_;
  bitmaps_.resize(static_cast<std::size_t>(last_bitmap_) + 1);
  BitmapEntry& entry = bitmaps_.back();
  AdoptPicture(*form_, path, std::move(*picture), entry);
  if (makeMask) {
    BuildMask(last_bitmap_);
  } else {
    bitmaps_.back().MaskDC = kNoMask;
  }
  if (bitmaps_.back().DC != kNoSurface) return last_bitmap_;
  last_error_ = path + ": no surface could be created for the picture";
  return -1;
}

void BitmapCache::FreeBitmaps() {
  const std::int32_t bound = last_bitmap_;
  for (std::int32_t i = 0; i <= bound && form_ != nullptr; ++i) {
    const BitmapEntry& e = bitmaps_[static_cast<std::size_t>(i)];
    if (e.DC != kNoSurface && e.DC != kNoMask) form_->Destroy(e.DC);
    if (e.MaskDC != kNoSurface && e.MaskDC != kNoMask) form_->Destroy(e.MaskDC);
  }
  last_bitmap_ = -1;
  std::vector<BitmapEntry>().swap(bitmaps_);
}

const BitmapEntry* BitmapCache::Entry(std::int32_t index) const {
  if (index < 0 || index > last_bitmap_) return nullptr;
  return &bitmaps_[static_cast<std::size_t>(index)];
}

}  // namespace orvo::gfx
