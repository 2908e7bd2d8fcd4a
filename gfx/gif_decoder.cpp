// GIF decoding with giflib: the first image, composed onto its screen.
#include "gfx/library_codecs.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "gfx/picture_decoder.h"

namespace orvo::gfx {

namespace {

// giflib reads through this: the file's bytes and how far it has got.
struct ByteSource {
  std::span<const std::uint8_t> bytes;
  std::size_t pos = 0;
};

int ReadBytes(GifFileType* gif, GifByteType* into, int wanted) {
  auto* source = static_cast<ByteSource*>(gif->UserData);
  if (wanted <= 0) return 0;
  const std::size_t n =
      std::min(static_cast<std::size_t>(wanted), source->bytes.size() - source->pos);
  std::memcpy(into, source->bytes.data() + source->pos, n);
  source->pos += n;
  return static_cast<int>(n);
}

struct GifClose {
  void operator()(GifFileType* gif) const {
    int ignored = 0;
    DGifCloseFile(gif, &ignored);
  }
};
using GifFile = std::unique_ptr<GifFileType, GifClose>;

std::string GifReason(int code) {
  const char* text = GifErrorString(code);
  return text ? std::string(text) : "GIF error " + std::to_string(code);
}

Color ColourAt(const ColorMapObject* map, int index) {
  if (map == nullptr || index < 0 || index >= map->ColorCount) return kBlack;
  const GifColorType& c = map->Colors[index];
  return Rgb(c.Red, c.Green, c.Blue);
}

// The rows of an interlaced image in the order the file holds them: every
// 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  rows.reserve(static_cast<std::size_t>(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) rows.push_back(y);
    return rows;
  }
  constexpr int kStart[] = {0, 4, 2, 1};
  constexpr int kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = kStart[pass]; y < height; y += kStep[pass]) rows.push_back(y);
  }
  return rows;
}

// Skips an extension's data blocks.
bool SkipExtension(GifFileType* gif) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) != GIF_OK) return false;
  while (block != nullptr) {
    if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
  }
  return true;
}

}  // namespace

std::optional<Surface> DecodeGif(std::span<const std::uint8_t> bytes, std::string& reason) {
  ByteSource source{bytes};
  int error = 0;
  GifFile gif(DGifOpen(&source, ReadBytes, &error));
  if (!gif) {
    reason = GifReason(error);
    return std::nullopt;
  }
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &type) != GIF_OK) {
      reason = GifReason(gif->Error);
      return std::nullopt;
    }
    if (type == TERMINATE_RECORD_TYPE) {
      reason = "the file holds no image";
      return std::nullopt;
    }
    if (type == EXTENSION_RECORD_TYPE) {
      if (!SkipExtension(gif.get())) {
        reason = GifReason(gif->Error);
        return std::nullopt;
      }
      continue;
    }
    if (type == IMAGE_DESC_RECORD_TYPE) break;
    reason = "unexpected data between the blocks";
    return std::nullopt;
  }
  if (DGifGetImageDesc(gif.get()) != GIF_OK) {
    reason = GifReason(gif->Error);
    return std::nullopt;
  }
  const GifImageDesc& image = gif->Image;
  // The picture is the screen, grown where the first image reaches past it;
  // its size is checked before any pixel buffer exists.
  const std::int64_t width =
      std::max<std::int64_t>(gif->SWidth, std::int64_t{image.Left} + std::int64_t{image.Width});
  const std::int64_t height =
      std::max<std::int64_t>(gif->SHeight, std::int64_t{image.Top} + std::int64_t{image.Height});
  if (!PictureSizeAllowed(width, height, reason)) return std::nullopt;
  const ColorMapObject* map = image.ColorMap ? image.ColorMap : gif->SColorMap;
  if (map == nullptr) {
    reason = "the image has no colour table";
    return std::nullopt;
  }
  // Where the image does not cover the screen, the screen's background shows.
  Surface out(static_cast<int>(width), static_cast<int>(height),
              ColourAt(gif->SColorMap, gif->SBackGroundColor));
  std::vector<GifPixelType> line(static_cast<std::size_t>(std::max(image.Width, 1)));
  for (const int y : RowOrder(image.Height, image.Interlace)) {
    if (image.Width > 0 && DGifGetLine(gif.get(), line.data(), image.Width) != GIF_OK) {
      reason = GifReason(gif->Error);
      return std::nullopt;
    }
    Color* row = out.Row(image.Top + y) + image.Left;
    for (int x = 0; x < image.Width; ++x) row[x] = ColourAt(map, line[static_cast<std::size_t>(x)]);
  }
  return out;
}

}  // namespace orvo::gfx
