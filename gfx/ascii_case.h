// Lower-casing of names for comparisons that ignore letter case. Only ASCII
// letters are folded; other bytes (including UTF-8 sequences) stay as they are.
#pragma once

#include <string>
#include <string_view>

namespace orvo::gfx {

inline std::string ToLowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace orvo::gfx
