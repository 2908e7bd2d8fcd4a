// Pictures decoded by the browser. The header is checked first with the
// game's own reader and limits, so that no crafted size reaches the browser's
// decoder; the pixels then come from the browser, every colour exact.
//
// The page does the decoding (orvo_load.js): it decodes several pictures at
// once, and it may have begun with a picture before the program asked for
// it (only after the game's checks in picture_gate.wasm passed it). A
// decode of the very same bytes is then taken over rather than repeated.
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
  // Has the browser begin decoding `bytes` when their header passes the
  // checks, without waiting for it; Decode of the same bytes later takes the
  // result. Otherwise does nothing (Decode then says why). True when begun.
  bool DecodeAhead(std::span<const std::uint8_t> bytes) const;

  std::optional<gfx::Surface> Decode(std::span<const std::uint8_t> bytes,
                                     std::string& reason) const override;
};

}  // namespace orvo::web
