// Pictures decoded by the browser. The header is checked first with the
// game's own reader and limits, so that no crafted size reaches the browser's
// decoder; the pixels then come from the browser, every colour exact.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "gfx/picture_decoder.h"
#include "gfx/surface.h"

namespace orvo::web {

class BrowserPictureDecoder : public gfx::PictureDecoder {
 public:
  std::optional<gfx::Surface> Decode(std::span<const std::uint8_t> bytes,
                                     std::string& reason) const override;
};

}  // namespace orvo::web
