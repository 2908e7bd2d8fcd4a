// The board surface as a PNG file, for `snapshot`.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/surface.h"

namespace orvo::replay {

// The surface as PNG bytes (8-bit RGB). Throws ReplayError ("snapshot: ...")
// when libpng fails or the surface is empty.
std::vector<std::uint8_t> EncodePng(const gfx::Surface& surface);

// Writes the surface as a PNG file at `path`, creating or replacing it.
// Throws ReplayError ("cannot write NAME: REASON", with the system's reason
// and `name` the file as the scenario names it) when the file cannot be
// opened, written or closed.
void WritePngFile(const gfx::Surface& surface, const std::string& path, const std::string& name);

}  // namespace orvo::replay
