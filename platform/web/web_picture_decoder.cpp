#include "platform/web/web_picture_decoder.h"

#include <emscripten.h>

#include "gfx/picture_header.h"

namespace orvo::web {

namespace {

// Has the page decode the bytes (a picture of width x height by its header)
// or find a decode of the same bytes that no one waits for yet; with `take`
// the caller waits for it (orvo_finish_decode). Returns the decode's number,
// 0 when the page decodes nothing.
// clang-format off
EM_JS(int, orvo_start_decode,
      (const std::uint8_t* bytes, int size, int width, int height, int take), {
  const pictures = Module.orvoPictures;
  if (!pictures) return 0;
  return pictures.start(HEAPU8.subarray(bytes, bytes + size), width, height, take !== 0);
});
// clang-format on

// Waits for decode `job` and writes its pixels (RGBA bytes, width x height
// of them) to `rgba`. Returns 1, or 0 with the reason written to `reason`
// (at most `reasonSize` bytes with its terminating zero).
// clang-format off
EM_ASYNC_JS(int, orvo_finish_decode, (int job, std::uint8_t* rgba, char* reason, int reasonSize), {
  const pictures = Module.orvoPictures;
  const result = pictures && job ? await pictures.finish(job)
                                 : { error : 'the page cannot decode pictures' };
  if (result.pixels) {
    HEAPU8.set(result.pixels, rgba);
    return 1;
  }
  stringToUTF8(result.error, reason, reasonSize);
  return 0;
});
// clang-format on

}  // namespace

bool BrowserPictureDecoder::DecodeAhead(std::span<const std::uint8_t> bytes) const {
  std::string reason;
  const std::optional<gfx::PictureHeader> header = gfx::CheckPictureHeader(bytes, reason);
  if (!header) return false;
  return orvo_start_decode(bytes.data(), static_cast<int>(bytes.size()),
                           static_cast<int>(header->width), static_cast<int>(header->height),
                           0) != 0;
}

std::optional<gfx::Surface> BrowserPictureDecoder::Decode(std::span<const std::uint8_t> bytes,
                                                          std::string& reason) const {
  // The header is checked here every time, also for bytes decoded ahead.
  const std::optional<gfx::PictureHeader> header = gfx::CheckPictureHeader(bytes, reason);
  if (!header) return std::nullopt;
  const int width = static_cast<int>(header->width);
  const int height = static_cast<int>(header->height);
  const int job = orvo_start_decode(bytes.data(), static_cast<int>(bytes.size()), width, height, 1);
  gfx::Surface picture(width, height);
  char why[256] = {};
  if (!orvo_finish_decode(job, reinterpret_cast<std::uint8_t*>(picture.Pixels().data()), why,
                          sizeof why)) {
    reason = why;
    return std::nullopt;
  }
  // The bytes R, G, B, A are the colour 0x00BBGGRR with the alpha on top.
  for (gfx::Color& c : picture.Pixels()) c &= gfx::kWhite;
  return picture;
}

}  // namespace orvo::web
