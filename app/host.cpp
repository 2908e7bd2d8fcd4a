#include "app/host.h"

#include "gfx/codecs/library_codecs.h"

namespace orvo::app {

const gfx::PictureDecoder& Host::Pictures() {
  static const gfx::codecs::LibraryPictureDecoder kDecoder;
  return kDecoder;
}

}  // namespace orvo::app
