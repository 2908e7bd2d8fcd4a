// The digest of the board surface that `trace frames` adds to each refresh
// line.
#pragma once

#include <string>

#include "gfx/surface.h"

namespace orvo::replay {

// The SHA-256 of the surface's pixels as the bytes red, green, blue of each
// pixel, row by row from the top left (no alpha, no padding), as 64
// lowercase hex digits. Throws ReplayError if OpenSSL cannot compute it.
std::string BoardDigest(const gfx::Surface& surface);

}  // namespace orvo::replay
