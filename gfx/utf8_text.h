// Decoding UTF-8 text one character at a time, for the code that draws or
// prints text it did not write itself: a malformed byte is passed over alone,
// so the character right after it is still found.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace orvo::gfx {

// The character whose encoding starts at `at`, moving `at` past it. A byte
// that does not start a well-formed sequence (stray continuation byte,
// overlong form, surrogate, beyond U+10FFFF, cut off by the end of the text)
// gives nullopt and moves `at` by that one byte. At the end of the text:
// nullopt, and `at` stays.
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& at);

}  // namespace orvo::gfx
