// The headless platform's pictures on Windows: WIC's decoder, as the
// window's.
#include "platform/headless/headless_platform.h"
#include "platform/win32/wic_picture_decoder.h"

namespace orvo::headless {

const gfx::PictureDecoder& SystemPictureDecoder() {
  static const win32::WicPictureDecoder kDecoder;
  return kDecoder;
}

}  // namespace orvo::headless
