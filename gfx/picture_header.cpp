#include "gfx/picture_header.h"

#include <algorithm>
#include <cstddef>

#include "gfx/picture_decoder.h"

namespace orvo::gfx {

namespace {

// Reads from a byte span; a read past the end yields 0 and clears ok().
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes, std::size_t pos = 0)
      : bytes_(bytes), pos_(pos) {}

  bool ok() const { return ok_; }
  std::size_t pos() const { return pos_; }

  std::uint8_t U8() {
    if (!Has(1)) return Fail();
    return bytes_[pos_++];
  }
  std::uint32_t U16Le() {
    const std::uint32_t lo = U8();
    return lo | (static_cast<std::uint32_t>(U8()) << 8);
  }
  std::uint32_t U16Be() {
    const std::uint32_t hi = U8();
    return (hi << 8) | U8();
  }
  void Skip(std::size_t n) {
    if (!Has(n)) {
      pos_ = bytes_.size();
      Fail();
      return;
    }
    pos_ += n;
  }
  bool Matches(std::span<const std::uint8_t> text) const {
    return Has(text.size()) && std::equal(text.begin(), text.end(), bytes_.begin() + pos_);
  }

 private:
  bool Has(std::size_t n) const { return ok_ && n <= bytes_.size() - pos_; }
  std::uint8_t Fail() {
    ok_ = false;
    return 0;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t pos_;
  bool ok_ = true;
};

constexpr std::uint8_t kGif87[] = {'G', 'I', 'F', '8', '7', 'a'};
constexpr std::uint8_t kGif89[] = {'G', 'I', 'F', '8', '9', 'a'};
constexpr std::uint8_t kJpegStart[] = {0xFF, 0xD8};

// Skips GIF data sub-blocks up to their zero terminator; false when the data
// ends first.
bool SkipSubBlocks(ByteReader& r) {
  while (true) {
    const std::uint8_t n = r.U8();
    if (!r.ok()) return false;
    if (n == 0) return true;
    r.Skip(n);
  }
}

// GIF: the screen size, then every block up to the trailer. Each image's
// extent (its offset plus its size) counts, so that an image placed far out
// on a small screen cannot make a decoder allocate for it unseen. The data is
// complete when the first image's data runs to its terminator.
PictureHeader ReadGif(ByteReader r) {
  PictureHeader h{PictureFormat::kGif};
  r.Skip(sizeof kGif89);
  h.width = r.U16Le();
  h.height = r.U16Le();
  const std::uint8_t flags = r.U8();
  r.Skip(2);
  if (flags & 0x80) r.Skip(std::size_t{3} << ((flags & 7) + 1));
  bool first = true;
  while (r.ok()) {
    const std::uint8_t block = r.U8();
    if (!r.ok()) break;
    if (block == '!') {  // extension: label, then sub-blocks
      r.U8();
      if (!SkipSubBlocks(r)) break;
    } else if (block == ',') {  // image descriptor
      const std::int64_t left = r.U16Le();
      const std::int64_t top = r.U16Le();
      const std::int64_t w = r.U16Le();
      const std::int64_t hgt = r.U16Le();
      const std::uint8_t image_flags = r.U8();
      if (!r.ok()) break;
      h.width = std::max(h.width, left + w);
      h.height = std::max(h.height, top + hgt);
      if (image_flags & 0x80) r.Skip(std::size_t{3} << ((image_flags & 7) + 1));
      r.U8();  // LZW minimum code size
      const bool whole = r.ok() && SkipSubBlocks(r);
      if (first) h.complete = whole;
      first = false;
      if (!whole) break;
    } else {
      break;  // the trailer, or garbage
    }
  }
  return h;
}

bool IsStandalone(std::uint8_t marker) {
  return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
}

bool IsFrameHeader(std::uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Skips entropy-coded data after a scan header, up to the next marker (the
// reader then stands on its 0xFF); false when the data ends first.
bool SkipEntropyData(ByteReader& r, std::span<const std::uint8_t> bytes) {
  std::size_t p = r.pos();
  while (p + 1 < bytes.size()) {
    if (bytes[p] == 0xFF && bytes[p + 1] != 0x00 &&
        !(bytes[p + 1] >= 0xD0 && bytes[p + 1] <= 0xD7)) {
      r.Skip(p - r.pos());
      return true;
    }
    ++p;
  }
  return false;
}

// JPEG: marker segments up to the frame header (the size), then on through
// the scans up to the end-of-image marker.
PictureHeader ReadJpeg(ByteReader r, std::span<const std::uint8_t> bytes) {
  PictureHeader h{PictureFormat::kJpeg};
  r.Skip(sizeof kJpegStart);
  bool seen_scan = false;
  while (r.ok()) {
    if (r.U8() != 0xFF || !r.ok()) break;
    std::uint8_t marker = r.U8();
    while (marker == 0xFF && r.ok()) marker = r.U8();  // fill bytes
    if (!r.ok()) break;
    if (marker == 0xD9) {
      h.complete = seen_scan && h.width > 0;
      break;
    }
    if (IsStandalone(marker)) continue;
    const std::uint32_t length = r.U16Be();
    if (!r.ok() || length < 2) break;
    if (IsFrameHeader(marker) && h.width == 0) {
      ByteReader frame = r;
      frame.U8();  // sample precision
      h.height = frame.U16Be();
      h.width = frame.U16Be();
      if (!frame.ok()) h.width = h.height = 0;
    }
    r.Skip(length - 2);
    if (marker == 0xDA) {  // start of scan: entropy-coded data follows
      seen_scan = true;
      if (!r.ok() || !SkipEntropyData(r, bytes)) break;
    }
  }
  return h;
}

}  // namespace

std::optional<PictureHeader> ReadPictureHeader(std::span<const std::uint8_t> bytes) {
  ByteReader r(bytes);
  if (r.Matches(kGif87) || r.Matches(kGif89)) return ReadGif(r);
  if (r.Matches(kJpegStart)) return ReadJpeg(r, bytes);
  return std::nullopt;
}

std::optional<PictureHeader> CheckPictureHeader(std::span<const std::uint8_t> bytes,
                                                std::string& reason) {
  const std::optional<PictureHeader> header = ReadPictureHeader(bytes);
  if (!header) {
    reason = "not a JPEG or GIF picture";
    return std::nullopt;
  }
  if (header->width == 0 || header->height == 0) {
    reason = "no picture size in the header";
    return std::nullopt;
  }
  if (!PictureSizeAllowed(header->width, header->height, reason)) return std::nullopt;
  if (!header->complete) {
    reason = "picture data is cut off";
    return std::nullopt;
  }
  return header;
}

}  // namespace orvo::gfx
