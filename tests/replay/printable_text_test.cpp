// What error messages show of a scenario's bytes: printable UTF-8 as it is,
// everything else as \xHH.
#include "tools/replay/printable_text.h"

#include <gtest/gtest.h>

#include <string>

namespace orvo::replay {
namespace {

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s.push_back(static_cast<char>(b));
  return s;
}

TEST(PrintableText, PrintableUtf8IsKept) {
  for (const std::string& text : {
           std::string("plain ASCII ~!\"#\\"),
           std::string("\xc2\xa0\xc2\xa4 \xc3\xa9"),               // U+00A0, the bomb glyph U+00A4
           std::string("\xe0\xa0\x80 \xed\x9f\xbf \xee\x80\x80"),  // U+0800, U+D7FF, U+E000
           std::string(
               "\xef\xbf\xbd \xf0\x90\x80\x80 \xf4\x8f\xbf\xbf"),  // U+FFFD, U+10000, U+10FFFF
       }) {
    EXPECT_EQ(PrintableText(text), text);
  }
}

TEST(PrintableText, ControlsAreEscaped) {
  EXPECT_EQ(PrintableText(Bytes({0x00, 'a', 0x09, 0x0a, 0x0d, 0x1b, '[', '2', 'J', 0x1f, 0x7f})),
            "\\x00a\\x09\\x0A\\x0D\\x1B[2J\\x1F\\x7F");
  // C1 controls U+0080 to U+009F, valid UTF-8 but not printable.
  EXPECT_EQ(PrintableText(Bytes({0xc2, 0x80, 0xc2, 0x9b, 0xc2, 0x9f, 0xc2, 0xa0})),
            "\\xC2\\x80\\xC2\\x9B\\xC2\\x9F\xc2\xa0");
}

TEST(PrintableText, InvalidUtf8IsEscapedByteByByte) {
  struct Case {
    std::string bytes;
    std::string shown;
  };
  for (const Case& c : {
           Case{Bytes({0x80, 'x'}), "\\x80x"},                             // stray continuation
           Case{Bytes({0xc3}), "\\xC3"},                                   // cut short at the end
           Case{Bytes({0xe2, 0x82, 'x'}), "\\xE2\\x82x"},                  // cut short inside
           Case{Bytes({0xc0, 0xaf}), "\\xC0\\xAF"},                        // overlong '/'
           Case{Bytes({0xc1, 0xbf}), "\\xC1\\xBF"},                        // overlong
           Case{Bytes({0xe0, 0x80, 0xaf}), "\\xE0\\x80\\xAF"},             // overlong '/'
           Case{Bytes({0xf0, 0x80, 0x80, 0xaf}), "\\xF0\\x80\\x80\\xAF"},  // overlong '/'
           Case{Bytes({0xed, 0xa0, 0x80}), "\\xED\\xA0\\x80"},             // surrogate U+D800
           Case{Bytes({0xed, 0xbf, 0xbf}), "\\xED\\xBF\\xBF"},             // surrogate U+DFFF
           Case{Bytes({0xf4, 0x90, 0x80, 0x80}), "\\xF4\\x90\\x80\\x80"},  // U+110000
           Case{Bytes({0xf5, 0x80, 0x80, 0x80}), "\\xF5\\x80\\x80\\x80"},
           Case{Bytes({0xfe, 0xff}), "\\xFE\\xFF"},
           // A valid character right after a bad byte is kept.
           Case{Bytes({0xe2, 0xc3, 0xa9}), "\\xE2\xc3\xa9"},
       }) {
    EXPECT_EQ(PrintableText(c.bytes), c.shown);
  }
}

}  // namespace
}  // namespace orvo::replay
