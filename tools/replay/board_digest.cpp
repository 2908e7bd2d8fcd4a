#include "tools/replay/board_digest.h"

#include <openssl/evp.h>

#include <cstdint>
#include <vector>

#include "tools/replay/replay_error.h"

namespace orvo::replay {

std::string BoardDigest(const gfx::Surface& surface) {
  // A colour holds red in its low byte, then green, then blue.
  std::vector<unsigned char> rgb;
  rgb.reserve(surface.Pixels().size() * 3);
  for (gfx::Color c : surface.Pixels()) {
    rgb.push_back(static_cast<unsigned char>(c & 0xFFu));
    rgb.push_back(static_cast<unsigned char>((c >> 8) & 0xFFu));
    rgb.push_back(static_cast<unsigned char>((c >> 16) & 0xFFu));
  }
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  if (EVP_Digest(rgb.data(), rgb.size(), digest, &size, EVP_sha256(), nullptr) != 1) {
    throw ReplayError("trace frames: SHA-256 of the board surface failed");
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(2 * size);
  for (unsigned int i = 0; i < size; ++i) {
    hex.push_back(kHex[digest[i] >> 4]);
    hex.push_back(kHex[digest[i] & 0xFu]);
  }
  return hex;
}

}  // namespace orvo::replay
