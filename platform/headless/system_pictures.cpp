// The headless platform's pictures on Linux: platform/linux's decoder.
#include "platform/headless/headless_platform.h"
#include "platform/linux/library_codecs.h"

namespace orvo::headless {

const gfx::PictureDecoder& SystemPictureDecoder() {
  static const linux_shared::LibraryPictureDecoder kDecoder;
  return kDecoder;
}

}  // namespace orvo::headless
