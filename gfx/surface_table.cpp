#include "gfx/surface_table.h"

#include <limits>
#include <new>
#include <utility>

namespace orvo::gfx {

namespace {
// The largest surface the table hands out: 16384 x 16384 pixels (1 GiB).
constexpr long long kMaxPixels = 16384LL * 16384LL;
}  // namespace

SurfaceHandle SurfaceTable::Create(int width, int height) {
  if (width < 0 || height < 0) return kNoSurface;
  if (static_cast<long long>(width) * height > kMaxPixels) return kNoSurface;
  if (creations_left_ == 0) return kNoSurface;
  try {
    return Adopt(Surface(width, height));
  } catch (const std::bad_alloc&) {
    return kNoSurface;
  }
}

SurfaceHandle SurfaceTable::Adopt(Surface surface) {
  if (creations_left_ == 0) return kNoSurface;
  // Handles are never reused, so the table can run out of them.
  if (slots_.size() >= static_cast<std::size_t>(std::numeric_limits<SurfaceHandle>::max())) {
    return kNoSurface;
  }
  try {
    slots_.push_back(std::make_unique<Surface>(std::move(surface)));
  } catch (const std::bad_alloc&) {
    return kNoSurface;
  }
  --creations_left_;
  ++live_;
  return static_cast<SurfaceHandle>(slots_.size());
}

Surface* SurfaceTable::Get(SurfaceHandle h) {
  if (h <= 0 || static_cast<std::size_t>(h) > slots_.size()) return nullptr;
  return slots_[static_cast<std::size_t>(h) - 1].get();
}

const Surface* SurfaceTable::Get(SurfaceHandle h) const {
  if (h <= 0 || static_cast<std::size_t>(h) > slots_.size()) return nullptr;
  return slots_[static_cast<std::size_t>(h) - 1].get();
}

void SurfaceTable::Destroy(SurfaceHandle h) {
  if (Get(h) == nullptr) return;
  slots_[static_cast<std::size_t>(h) - 1].reset();
  --live_;
}

}  // namespace orvo::gfx
