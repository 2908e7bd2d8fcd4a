#include "platform/web/web_picture_decoder.h"

#include <emscripten.h>

#include <cstdlib>

#include "gfx/picture_header.h"

namespace orvo::web {

namespace {

// Decodes with the browser, without colour management or premultiplied
// alpha, into a buffer it allocates with malloc (RGBA bytes). Returns the
// buffer, or 0 with the reason written to `reason` (at most `reasonSize`
// bytes with its terminating zero).
// clang-format off
EM_ASYNC_JS(std::uint8_t*, orvo_decode_picture,
            (const std::uint8_t* bytes, int size, int width, int height, char* reason,
             int reasonSize),
            {
              try {
                const copy = HEAPU8.slice(bytes, bytes + size);
                const bitmap = await createImageBitmap(new Blob([copy]), {
                  colorSpaceConversion : 'none',
                  premultiplyAlpha : 'none'
                });
                if (bitmap.width !== width || bitmap.height !== height) {
                  throw new Error('the decoded picture is ' + bitmap.width + ' x ' +
                                  bitmap.height + ', its header says ' + width + ' x ' + height);
                }
                const canvas = new OffscreenCanvas(width, height);
                const context = canvas.getContext('2d', {willReadFrequently : true});
                context.drawImage(bitmap, 0, 0);
                bitmap.close();
                const pixels = context.getImageData(0, 0, width, height).data;
                const out = _malloc(pixels.length);
                if (!out) throw new Error('out of memory');
                HEAPU8.set(pixels, out);
                return out;
              } catch (e) {
                stringToUTF8('the browser cannot decode it: ' + (e && e.message ? e.message : e),
                             reason, reasonSize);
                return 0;
              }
            });
// clang-format on

}  // namespace

std::optional<gfx::Surface> BrowserPictureDecoder::Decode(std::span<const std::uint8_t> bytes,
                                                          std::string& reason) const {
  const std::optional<gfx::PictureHeader> header = gfx::CheckPictureHeader(bytes, reason);
  if (!header) return std::nullopt;
  const int width = static_cast<int>(header->width);
  const int height = static_cast<int>(header->height);
  char why[256] = {};
  std::uint8_t* rgba = orvo_decode_picture(bytes.data(), static_cast<int>(bytes.size()), width,
                                           height, why, sizeof why);
  if (rgba == nullptr) {
    reason = why;
    return std::nullopt;
  }
  gfx::Surface picture(width, height);
  for (int y = 0; y < height; ++y) {
    gfx::Color* row = picture.Row(y);
    const std::uint8_t* from = rgba + static_cast<std::size_t>(y) * width * 4;
    for (int x = 0; x < width; ++x, from += 4) row[x] = gfx::Rgb(from[0], from[1], from[2]);
  }
  std::free(rgba);
  return picture;
}

}  // namespace orvo::web
