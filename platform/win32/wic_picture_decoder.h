// Pictures decoded by Windows Imaging Component, which every Windows since
// Vista carries. The header is checked first with the game's own reader and
// limits, so that no crafted size or cut-off file reaches WIC; the pixels
// then come from WIC. A GIF's first image is placed on its screen as the
// Linux decoder places it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "gfx/picture_decoder.h"
#include "gfx/surface.h"

struct IWICImagingFactory;

namespace orvo::win32 {

class WicPictureDecoder : public gfx::PictureDecoder {
 public:
  // Starts COM on the calling thread (if not yet started) for its own use;
  // decodes on that thread only.
  WicPictureDecoder();
  ~WicPictureDecoder() override;
  WicPictureDecoder(const WicPictureDecoder&) = delete;
  WicPictureDecoder& operator=(const WicPictureDecoder&) = delete;

  std::optional<gfx::Surface> Decode(std::span<const std::uint8_t> bytes,
                                     std::string& reason) const override;

 private:
  bool com_started_ = false;
  IWICImagingFactory* factory_ = nullptr;
};

}  // namespace orvo::win32
