// Internal to the bitmap cache: moving a decoded picture into the surface
// table and recording it in a cache entry.
#pragma once

#include <string>

#include "gfx/bitmap_cache.h"
#include "gfx/surface.h"
#include "gfx/surface_table.h"

namespace orvo::gfx {

// Hands `picture` to `table` and fills `entry` with the lower-cased path, the
// new handle and the picture's size. -1 (entry untouched) when the table
// cannot take another surface.
SurfaceHandle AdoptPicture(SurfaceTable& table, const std::string& path, Surface picture,
                           BitmapEntry& entry);

}  // namespace orvo::gfx
