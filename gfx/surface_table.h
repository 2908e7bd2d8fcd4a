// Surfaces named by 32-bit handles, as the game's drawing code and the bitmap
// cache refer to them. 0 never names a surface; handles are not reused.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gfx/surface.h"

namespace orvo::gfx {

using SurfaceHandle = std::int32_t;
inline constexpr SurfaceHandle kNoSurface = 0;
// The value a cache entry's MaskDC holds when it has no mask.
inline constexpr SurfaceHandle kNoMask = -1;

class SurfaceTable {
 public:
  // A new surface of width x height pixels (black), or kNoSurface when it
  // cannot be created (negative size, the table's limit reached).
  SurfaceHandle Create(int width, int height);
  // Takes over an existing surface.
  SurfaceHandle Adopt(Surface surface);
  // nullptr when the handle names no live surface (0, -1, destroyed, unknown).
  Surface* Get(SurfaceHandle h);
  const Surface* Get(SurfaceHandle h) const;
  // Destroying 0, -1 or an unknown handle does nothing.
  void Destroy(SurfaceHandle h);
  // Number of live surfaces.
  std::size_t LiveCount() const { return live_; }
  // Tests use this to make creation fail after `count` more surfaces.
  void LimitCreations(std::size_t count) { creations_left_ = count; }

 private:
  std::vector<std::unique_ptr<Surface>> slots_;  // handle h lives at slots_[h - 1]
  std::size_t live_ = 0;
  std::size_t creations_left_ = static_cast<std::size_t>(-1);
};

}  // namespace orvo::gfx
