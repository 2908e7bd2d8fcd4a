#include <algorithm>

#include "gfx/bitmap_cache.h"

namespace orvo::gfx {

void BitmapCache::BuildMask(std::int32_t index) {
  if (form_ == nullptr || index < 0 || index > last_bitmap_) return;
  BitmapEntry& e = bitmaps_[static_cast<std::size_t>(index)];
  if (e.MaskDC != kNoSurface && e.MaskDC != kNoMask) form_->Destroy(e.MaskDC);
  e.MaskDC = CreateMemoryDC(e.Width, e.Height, false);

  const Surface* picture = form_->Get(e.DC);
  Surface* mask = form_->Get(e.MaskDC);
  if (picture == nullptr || mask == nullptr) return;
  // Exactly white is transparent (black in the mask); every other colour is
  // opaque (white in the mask).
  const int width = std::min(picture->Width(), mask->Width());
  const int height = std::min(picture->Height(), mask->Height());
  for (int y = 0; y < height; ++y) {
    const Color* src = picture->Row(y);
    Color* dst = mask->Row(y);
    for (int x = 0; x < width; ++x) dst[x] = src[x] == kWhite ? kBlack : kWhite;
  }
}

}  // namespace orvo::gfx
