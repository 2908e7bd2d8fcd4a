#include "tools/replay/printable_text.h"

#include <cstddef>
#include <optional>

#include "gfx/utf8_text.h"

namespace orvo::replay {
namespace {

void AppendEscaped(std::string& out, unsigned char byte) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 0xF];
}

}  // namespace

std::string PrintableText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      if (byte < 0x20 || byte == 0x7F) {
        AppendEscaped(out, byte);
      } else {
        out += static_cast<char>(byte);
      }
      ++i;
      continue;
    }
    const std::size_t start = i;
    const std::optional<char32_t> code_point = gfx::NextCodePoint(text, i);
    // U+0080 to U+009F, the C1 controls, are valid but not printable.
    const bool control = code_point && *code_point <= 0x9F;
    if (!code_point || control) {
      // Every byte passed is escaped: both of a C1 control, or the one byte
      // of a bad sequence, after which the next byte starts afresh, so a
      // valid character right after it is kept.
      for (std::size_t k = start; k < i; ++k)
        AppendEscaped(out, static_cast<unsigned char>(text[k]));
      continue;
    }
    out.append(text.substr(start, i - start));
  }
  return out;
}

}  // namespace orvo::replay
