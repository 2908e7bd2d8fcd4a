// The Windows window's arithmetic and keys: the whole-multiple scale for a
// work area, the full screen's placement and the pointer's way back to game
// pixels; the keys the window keeps; UTF-8 to UTF-16 and back.
#include <gtest/gtest.h>

#include "platform/win32/utf16.h"
#include "platform/win32/window_keys.h"
#include "platform/win32/window_layout.h"

namespace orvo::win32 {
namespace {

TEST(WindowLayout, TheScaleIsTheLargestThatLeavesRoomAround) {
  struct Case {
    int width, height, scale;
  } cases[] = {
      {1366, 728, 1},   // a small laptop: 2x would take 776 of 728 rows
      {1920, 1040, 2},  // full HD without the task bar
      {2560, 1400, 3},  // 3 x 388 = 1164 rows of 1400: 83 %
      {3840, 2080, 4},  // 4K: 5x would be 1940 rows, 93 %
      {640, 400, 1},    // smaller than the window: never below 1
      {10000, 900, 1},  // the height decides
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WindowScale(c.width, c.height), c.scale) << c.width << " x " << c.height;
  }
}

TEST(WindowLayout, TheFullScreenCentresAWholeMultiple) {
  struct Case {
    int width, height;
    Placement want;
  } cases[] = {
      {1920, 1080, {2, 380, 152}},  // 1160 x 776
      {1280, 800, {2, 60, 12}},     // 1160 x 776
      {3840, 2160, {5, 470, 110}},  // 2900 x 1940
      {580, 388, {1, 0, 0}},        // exactly one
      {500, 300, {1, -40, -44}},    // smaller: 1x, cut on every side
  };
  for (const Case& c : cases) {
    const Placement p = FitInside(c.width, c.height);
    EXPECT_EQ(p.scale, c.want.scale) << c.width << " x " << c.height;
    EXPECT_EQ(p.x, c.want.x) << c.width << " x " << c.height;
    EXPECT_EQ(p.y, c.want.y) << c.width << " x " << c.height;
  }
}

TEST(WindowLayout, ThePointerMapsBackToGamePixels) {
  const Placement p{3, 100, 20};
  struct Case {
    int cx, cy, x, y;
  } cases[] = {
      {100, 20, 0, 0},         // the picture's first pixel
      {102, 22, 0, 0},         // still inside it
      {103, 23, 1, 1},         // the next one
      {99, 19, -1, -1},        // on the black border, left of and above it
      {1839, 1183, 579, 387},  // the last pixel: 100 + 3 * 580 - 1
      {1840, 1184, 580, 388},  // past it
  };
  for (const Case& c : cases) {
    int x = 0;
    int y = 0;
    ToGamePixel(p, c.cx, c.cy, x, y);
    EXPECT_EQ(x, c.x) << c.cx;
    EXPECT_EQ(y, c.y) << c.cy;
  }
}

using Verdict = WindowKeys::Verdict;

TEST(WindowKeys, F11AndAltEnterAreTheWindowsFromPressToRelease) {
  constexpr int kLeft = 0x25;
  struct Step {
    int key;
    bool down, alt;
    Verdict want;
  };
  const std::vector<std::vector<Step>> runs = {
      // F11, its repeat and its release.
      {{kVkF11, true, false, Verdict::ToggleFullscreen},
       {kVkF11, true, false, Verdict::Swallowed},
       {kVkF11, false, false, Verdict::Swallowed}},
      // Alt+Enter, with Alt let go before Enter: Enter's release is still
      // the window's; a plain Enter afterwards is the game's (a bomb).
      {{kVkReturn, true, true, Verdict::ToggleFullscreen},
       {kVkReturn, true, false, Verdict::Swallowed},
       {kVkReturn, false, false, Verdict::Swallowed},
       {kVkReturn, true, false, Verdict::ForTheGame},
       {kVkReturn, false, false, Verdict::ForTheGame}},
      // Other keys pass, with Alt or without.
      {{kLeft, true, false, Verdict::ForTheGame},
       {kLeft, true, true, Verdict::ForTheGame},
       {kLeft, false, false, Verdict::ForTheGame}},
  };
  for (const auto& run : runs) {
    WindowKeys keys;
    for (const Step& s : run) {
      EXPECT_EQ(keys.Judge(s.key, s.down, s.alt), s.want)
          << "key " << s.key << (s.down ? " down" : " up") << (s.alt ? " with Alt" : "");
    }
  }
}

TEST(WindowKeys, AResetForgetsTheHeldKeys) {
  WindowKeys keys;
  EXPECT_EQ(keys.Judge(kVkF11, true, false), Verdict::ToggleFullscreen);
  keys.Reset();
  // The next press toggles again rather than counting as a repeat.
  EXPECT_EQ(keys.Judge(kVkF11, true, false), Verdict::ToggleFullscreen);
}

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
