// What every desktop window does the same way: the whole-multiple scale for
// a usable screen, the full screen's placement and the pointer's way back
// to game pixels; the keys the window keeps for its full-screen switch, and
// that a kept key stays kept, repeats and release included, while
// everything else still goes to the game.
#include <gtest/gtest.h>

#include <vector>

#include "app/window_keys.h"
#include "app/window_scale.h"

namespace orvo::app {
namespace {

TEST(WindowScale, TheScaleIsTheLargestThatLeavesRoomAround) {
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

TEST(WindowScale, TheFullScreenCentresAWholeMultiple) {
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

TEST(WindowScale, ThePointerMapsBackToGamePixels) {
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
using Press = WindowKeys::Press;

Press Down(Key key, bool alt = false, bool ctrlOrLogo = false) {
  return Press{key, true, false, alt, ctrlOrLogo};
}
Press Repeat(Key key, bool alt = false) {
  return Press{key, true, true, alt, false};
}
Press Up(Key key, bool alt = false) {
  return Press{key, false, false, alt, false};
}

// Runs of key events from a fresh window, each with the verdict it must get.
TEST(WindowKeys, F11AndAltEnterAreTheWindowsFromPressToRelease) {
  const Key alt{18};
  struct Step {
    Press press;
    Verdict want;
  };
  const std::vector<std::vector<Step>> runs = {
      // F11 toggles once per press; its repeats and release switch nothing.
      {{Down(Key::F11), Verdict::ToggleFullscreen},
       {Repeat(Key::F11), Verdict::Swallowed},
       {Repeat(Key::F11), Verdict::Swallowed},
       {Up(Key::F11), Verdict::Swallowed},
       {Down(Key::F11, true), Verdict::ToggleFullscreen},  // a modifier changes nothing
       {Up(Key::F11), Verdict::Swallowed}},
      // A repeat or release of an F11 whose press the window never saw.
      {{Repeat(Key::F11), Verdict::Swallowed}, {Up(Key::F11), Verdict::Swallowed}},
      // Alt+Enter, with Alt let go before Enter: Enter's repeats and release
      // stay the window's (they would set off a bomb); a plain Enter
      // afterwards is the game's.
      {{Down(Key::Enter, true), Verdict::ToggleFullscreen},
       {Up(alt), Verdict::ForTheGame},
       {Repeat(Key::Enter), Verdict::Swallowed},
       {Up(Key::Enter), Verdict::Swallowed},
       {Down(Key::Enter), Verdict::ForTheGame},
       {Up(Key::Enter), Verdict::ForTheGame}},
      // Enter pressed before Alt stays the game's, with its repeats.
      {{Down(Key::Enter), Verdict::ForTheGame},
       {Down(alt, true), Verdict::ForTheGame},
       {Repeat(Key::Enter, true), Verdict::ForTheGame},
       {Up(Key::Enter, true), Verdict::ForTheGame}},
      // Ctrl or the logo key with Alt+Enter make another shortcut; other
      // keys pass, with Alt or without.
      {{Down(Key::Enter, true, true), Verdict::ForTheGame},
       {Up(Key::Enter, true), Verdict::ForTheGame},
       {Down(Key::Left, true), Verdict::ForTheGame},
       {Up(Key::Left), Verdict::ForTheGame},
       {Down(Key{121}), Verdict::ForTheGame},   // F10
       {Down(Key{123}), Verdict::ForTheGame}},  // F12
  };
  for (std::size_t r = 0; r < runs.size(); ++r) {
    WindowKeys keys;
    for (std::size_t i = 0; i < runs[r].size(); ++i) {
      EXPECT_EQ(keys.Judge(runs[r][i].press), runs[r][i].want) << "run " << r << " step " << i;
    }
  }
}

TEST(WindowKeys, AResetForgetsTheHeldKeys) {
  WindowKeys keys;
  EXPECT_EQ(keys.Judge(Down(Key::Enter, true)), Verdict::ToggleFullscreen);
  keys.Reset();
  // The window lost the keyboard: Enter pressed anew is the game's.
  EXPECT_EQ(keys.Judge(Down(Key::Enter)), Verdict::ForTheGame);
}

}  // namespace
}  // namespace orvo::app
