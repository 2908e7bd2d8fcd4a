// Decoding UTF-8 one character at a time: well-formed sequences give their
// code point, and every other byte is passed over alone.
#include "gfx/utf8_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace orvo::gfx {
namespace {

constexpr std::int64_t kBad = -1;

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s.push_back(static_cast<char>(b));
  return s;
}

// What NextCodePoint gives, call after call, over the whole text: each code
// point, or kBad for a byte passed over.
std::vector<std::int64_t> DecodeAll(const std::string& text) {
  std::vector<std::int64_t> out;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t before = at;
    const std::optional<char32_t> code_point = NextCodePoint(text, at);
    EXPECT_GT(at, before) << "no progress";
    if (!code_point) {
      EXPECT_EQ(at, before + 1) << "a bad byte is passed alone";
    }
    out.push_back(code_point ? static_cast<std::int64_t>(*code_point) : kBad);
  }
  return out;
}

TEST(NextCodePoint, DecodesWellFormedAndPassesOverEveryOtherByteAlone) {
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::int64_t> decoded;
  };
  const Case cases[] = {
      {"one byte", Bytes({0x00, 'A', 0x7f}), {0x00, 'A', 0x7f}},
      {"two bytes", Bytes({0xc2, 0x80, 0xc3, 0xa9, 0xdf, 0xbf}), {0x80, 0xe9, 0x7ff}},
      {"three bytes",
       Bytes({0xe0, 0xa0, 0x80, 0xed, 0x9f, 0xbf, 0xee, 0x80, 0x80, 0xef, 0xbf, 0xbf}),
       {0x800, 0xd7ff, 0xe000, 0xffff}},
      {"four bytes",
       Bytes({0xf0, 0x90, 0x80, 0x80, 0xf4, 0x8f, 0xbf, 0xbf, 'x'}),
       {0x10000, 0x10ffff, 'x'}},
      {"overlong two", Bytes({0xc0, 0xaf, 0xc1, 0xbf}), {kBad, kBad, kBad, kBad}},
      {"overlong three", Bytes({0xe0, 0x9f, 0xbf}), {kBad, kBad, kBad}},
      {"overlong four", Bytes({0xf0, 0x8f, 0xbf, 0xbf}), {kBad, kBad, kBad, kBad}},
      {"surrogate low end", Bytes({0xed, 0xa0, 0x80}), {kBad, kBad, kBad}},
      {"surrogate high end", Bytes({0xed, 0xbf, 0xbf}), {kBad, kBad, kBad}},
      {"U+110000", Bytes({0xf4, 0x90, 0x80, 0x80}), {kBad, kBad, kBad, kBad}},
      {"lead F5", Bytes({0xf5, 0x80, 0x80, 0x80}), {kBad, kBad, kBad, kBad}},
      {"lead F8", Bytes({0xf8, 0x88, 0x80, 0x80, 0x80}), {kBad, kBad, kBad, kBad, kBad}},
      {"FE FF", Bytes({0xfe, 0xff}), {kBad, kBad}},
      {"cut off at the end", Bytes({0xf0, 0x9f, 0x98}), {kBad, kBad, kBad}},
      {"cut off inside", Bytes({0xe2, 0x82, 'x'}), {kBad, kBad, 'x'}},
      {"stray continuation", Bytes({0x80, 'x', 0xbf}), {kBad, 'x', kBad}},
      {"valid right after a bad lead", Bytes({0xe2, 0xc3, 0xa9}), {kBad, 0xe9}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeAll(c.bytes), c.decoded) << c.what;
  }
}

TEST(NextCodePoint, AtTheEndGivesNothingAndStays) {
  const std::string text = "ab";
  std::size_t at = text.size();
  EXPECT_EQ(NextCodePoint(text, at), std::nullopt);
  EXPECT_EQ(at, text.size());
}

}  // namespace
}  // namespace orvo::gfx
