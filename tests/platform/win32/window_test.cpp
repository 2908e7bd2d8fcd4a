// The Windows window's own part: UTF-8 to UTF-16 and back for its paths and
// texts.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/utf16.h"

namespace orvo::win32 {
namespace {

TEST(Utf16, PathsRoundTripInEveryScript) {
  const std::string names[] = {"",
                               "C:\\Games\\Orvo\\",
                               "C:\\Spiele\\Grüße\\",
                               "D:\\Игры\\Орво\\",
                               "E:\\ゲーム\\",
                               "F:\\\xF0\x9F\x8E\xAE\\"};
  for (const std::string& name : names) EXPECT_EQ(Utf8(Utf16(name)), name);
  EXPECT_EQ(Utf16("Grüße"), std::wstring(L"Gr\u00FC\u00DFe"));
  // A character outside the basic plane is a surrogate pair.
  EXPECT_EQ(Utf16("\xF0\x9F\x8E\xAE"), std::wstring(L"\xD83C\xDFAE"));
  // Malformed UTF-8 becomes U+FFFD rather than vanishing or failing.
  EXPECT_EQ(Utf16("a\xFF"
                  "b"),
            std::wstring(L"a\uFFFDb"));
}

}  // namespace
}  // namespace orvo::win32
