// Decodes JPEG, GIF (and PNG) files into surfaces.
#pragma once

#include <optional>
#include <string>

#include "gfx/surface.h"

namespace orvo::gfx {

// The picture's pixels as 24-bit colours, or nullopt with `error` naming the
// file and the decoder's reason. Never reads past a buffer, whatever the file.
std::optional<Surface> DecodePicture(const std::string& path, std::string& error);

// Writes a surface as a PNG file; false with `error` set on failure.
bool WritePng(const Surface& surface, const std::string& path, std::string& error);

}  // namespace orvo::gfx
