#include "gfx/utf8_text.h"

#include <algorithm>

#include <utf8.h>

namespace orvo::gfx {

namespace {

// The longest well-formed sequence; a window of that many bytes holds the
// whole first sequence whenever the text does.
constexpr std::size_t kLongestSequence = 4;

}  // namespace

std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& at) {
  if (at >= text.size()) return std::nullopt;
  const char* const begin = text.data() + at;
  const char* const end = begin + std::min(kLongestSequence, text.size() - at);
  // find_invalid checks without throwing; when it stops at the very first
  // byte, no well-formed sequence starts there.
  if (utf8::find_invalid(begin, end) == begin) {
    ++at;
    return std::nullopt;
  }
  const char* it = begin;
  const char32_t code_point = utf8::unchecked::next(it);
  at += static_cast<std::size_t>(it - begin);
  return code_point;
}

}  // namespace orvo::gfx
