// UTF-8, the game's text, to and from UTF-16, Windows' own.
#pragma once

#include <string>

namespace orvo::win32 {

// Malformed input becomes U+FFFD; never fails.
std::wstring Utf16(const std::string& utf8);
std::string Utf8(const std::wstring& utf16);

}  // namespace orvo::win32
