// A picture format for tests: "ORVORAW1", the width and height as 32-bit
// little-endian numbers, then every pixel as a 32-bit colour. It keeps any
// number of exact colours, so fixtures can give every pixel its own.
#pragma once

#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gfx/picture_decoder.h"
#include "gfx/surface.h"

namespace orvo::gfx::testing {

inline constexpr char kRawMagic[] = "ORVORAW1";
inline constexpr std::size_t kRawHeader = 16;

inline std::vector<std::uint8_t> EncodeRaw(const Surface& s) {
  std::vector<std::uint8_t> out(kRawHeader + s.Pixels().size() * sizeof(Color));
  std::memcpy(out.data(), kRawMagic, 8);
  const std::uint32_t size[2] = {static_cast<std::uint32_t>(s.Width()),
                                 static_cast<std::uint32_t>(s.Height())};
  std::memcpy(out.data() + 8, size, sizeof size);
  if (!s.Pixels().empty()) {
    std::memcpy(out.data() + kRawHeader, s.Pixels().data(), s.Pixels().size() * sizeof(Color));
  }
  return out;
}

class RawPictureDecoder : public PictureDecoder {
 public:
  std::optional<Surface> Decode(std::span<const std::uint8_t> bytes,
                                std::string& reason) const override {
    if (bytes.size() < kRawHeader || std::memcmp(bytes.data(), kRawMagic, 8) != 0) {
      reason = "not a raw test picture";
      return std::nullopt;
    }
    std::uint32_t size[2];
    std::memcpy(size, bytes.data() + 8, sizeof size);
    if (!PictureSizeAllowed(size[0], size[1], reason)) return std::nullopt;
    const std::size_t count = std::size_t{size[0]} * size[1];
    if (bytes.size() != kRawHeader + count * sizeof(Color)) {
      reason = "raw picture data has the wrong length";
      return std::nullopt;
    }
    Surface s(static_cast<int>(size[0]), static_cast<int>(size[1]));
    std::memcpy(s.Pixels().data(), bytes.data() + kRawHeader, count * sizeof(Color));
    return s;
  }
};

}  // namespace orvo::gfx::testing
