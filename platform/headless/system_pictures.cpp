// The headless platform's pictures on Linux: the desktop's decoder.
#include "platform/desktop/library_codecs.h"
#include "platform/headless/headless_platform.h"

namespace orvo::headless {

const gfx::PictureDecoder& SystemPictureDecoder() {
  static const desktop::LibraryPictureDecoder kDecoder;
  return kDecoder;
}

}  // namespace orvo::headless
