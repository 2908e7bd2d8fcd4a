// Helpers for the graphics tests: a temporary folder that cleans up after
// itself, raw file access, and a tiny GIF writer for exact-colour fixtures.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "gfx/surface.h"

namespace orvo::gfx::testing {

using Bytes = std::vector<std::uint8_t>;

class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("orvo-gfx-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The path of `name` inside the folder.
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  std::string str() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

inline Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A path as the cache records it: every ASCII letter lower-cased.
inline std::string ToLowerPath(std::string path) {
  for (char& c : path) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return path;
}

// A surface filled from a list of rows of colours.
inline Surface FromRows(const std::vector<std::vector<Color>>& rows) {
  Surface s(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()));
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) SetPixel(s, x, y, rows[y][x]);
  }
  return s;
}

// Where a GIF places its image: the screen's size (0: the image's), the
// image's offset on it, and whether its rows are interlaced.
struct GifLayout {
  int screen_width = 0;
  int screen_height = 0;
  int left = 0;
  int top = 0;
  bool interlaced = false;
  std::uint8_t background = 0;  // index of the screen's background colour
};

// Encodes a surface of at most 256 colours as a GIF. The LZW stream sends a
// clear code every 250 pixels, so every code stays 9 bits wide.
inline Bytes EncodeGif(const Surface& s, const GifLayout& layout = {}) {
  std::vector<Color> palette;
  for (Color c : s.Pixels()) {
    if (std::find(palette.begin(), palette.end(), c) == palette.end()) palette.push_back(c);
  }
  EXPECT_LE(palette.size(), 256u);
  palette.resize(256, kBlack);

  Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
  auto u16 = [&out](int v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
  };
  u16(layout.screen_width ? layout.screen_width : s.Width());
  u16(layout.screen_height ? layout.screen_height : s.Height());
  out.insert(out.end(), {0xF7, layout.background, 0});  // global table of 256 colours
  for (Color c : palette) {
    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
    out.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
    out.push_back(static_cast<std::uint8_t>((c >> 16) & 0xFF));
  }
  out.push_back(',');
  u16(layout.left);
  u16(layout.top);
  u16(s.Width());
  u16(s.Height());
  out.push_back(layout.interlaced ? 0x40 : 0);
  out.push_back(8);  // LZW minimum code size

  // The rows in file order: interlaced files hold every 8th row from 0,
  // every 8th from 4, every 4th from 2, then every 2nd from 1.
  std::vector<int> rows;
  if (layout.interlaced) {
    for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
      for (int y = start; y < s.Height(); y += step) rows.push_back(y);
    }
  } else {
    for (int y = 0; y < s.Height(); ++y) rows.push_back(y);
  }

  Bytes data;
  std::uint32_t acc = 0;
  int bits = 0;
  auto code = [&](std::uint32_t c) {
    acc |= c << bits;
    bits += 9;
    while (bits >= 8) {
      data.push_back(static_cast<std::uint8_t>(acc & 0xFF));
      acc >>= 8;
      bits -= 8;
    }
  };
  int run = 0;
  for (int y : rows) {
    for (int x = 0; x < s.Width(); ++x) {
      if (run % 250 == 0) code(256);
      ++run;
      const Color c = GetPixel(s, x, y);
      code(static_cast<std::uint32_t>(std::find(palette.begin(), palette.end(), c) -
                                      palette.begin()));
    }
  }
  code(257);
  if (bits > 0) data.push_back(static_cast<std::uint8_t>(acc & 0xFF));
  for (std::size_t i = 0; i < data.size(); i += 255) {
    const std::size_t n = std::min<std::size_t>(255, data.size() - i);
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(i),
               data.begin() + static_cast<std::ptrdiff_t>(i + n));
  }
  out.push_back(0);
  out.push_back(';');
  return out;
}

}  // namespace orvo::gfx::testing
