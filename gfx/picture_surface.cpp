#include "gfx/picture_surface.h"

#include <optional>
#include <utility>

#include "gfx/ascii_case.h"
#include "gfx/file_lookup.h"
#include "gfx/picture_decoder.h"

namespace orvo::gfx {

SurfaceHandle AdoptPicture(SurfaceTable& table, const std::string& path, Surface picture,
                           BitmapEntry& entry) {
  const int width = picture.Width();
  const int height = picture.Height();
  const SurfaceHandle handle = table.Adopt(std::move(picture));
  if (handle == kNoSurface) return -1;
  entry.Name = ToLowerAscii(path);
  entry.DC = handle;
  entry.Width = width;
  entry.Height = height;
  return handle;
}

SurfaceHandle BitmapCache::LoadPictureToDC(const std::string& path, BitmapEntry& entry) {
  if (form_ == nullptr || files_ == nullptr || decoder_ == nullptr) {
    last_error_ = path + ": the picture cache is not bound";
    return -1;
  }
  const std::string real = FindOrdinaryFile(*files_, path).value_or(path);
  std::string error;
  std::optional<Surface> picture = DecodePictureFile(*files_, real, *decoder_, error);
  if (!picture) {
    last_error_ = error;
    return -1;
  }
  const SurfaceHandle handle = AdoptPicture(*form_, path, std::move(*picture), entry);
  if (handle == -1) last_error_ = path + ": no surface could be created for the picture";
  return handle;
}

SurfaceHandle BitmapCache::CreateMemoryDC(std::int32_t width, std::int32_t height, bool fill) {
  if (form_ == nullptr) return kNoSurface;
  const SurfaceHandle handle = form_->Create(width, height);
  if (fill) {
    if (Surface* s = form_->Get(handle)) s->Fill(kBlack);
  }
  return handle;
}

}  // namespace orvo::gfx
