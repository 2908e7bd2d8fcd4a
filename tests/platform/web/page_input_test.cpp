// The page's events as input events: a quick tap's release waits for the
// next event processing, the keyboard's does not, and gamepads arrive
// through the game's one mapping.
#include "platform/web/page_input.h"

#include <gtest/gtest.h>

#include <string>

namespace orvo::web {
namespace {

using Kind = app::InputEvent::Kind;

// One processing: every event it hands out, as "+38" (down), "-38" (up),
// "c0" (caption click), "p3,4" / "r3,4" (pointer press and release).
std::string Batch(PageInput& input) {
  std::string s;
  for (app::InputEvent e; input.Next(e);) {
    if (!s.empty()) s += ' ';
    switch (e.kind) {
      case Kind::KeyDown:
        s += '+' + std::to_string(e.key);
        break;
      case Kind::KeyUp:
        s += '-' + std::to_string(e.key);
        break;
      case Kind::CaptionClick:
        s += 'c' + std::to_string(e.key);
        break;
      case Kind::PointerDown:
        s += 'p' + std::to_string(e.x) + ',' + std::to_string(e.y);
        break;
      case Kind::PointerUp:
        s += 'r' + std::to_string(e.x) + ',' + std::to_string(e.y);
        break;
      default:
        s += '?';
    }
  }
  input.EndOfBatch();
  return s;
}

PageEvent Ev(PageEventKind kind, int a, int b = 0) {
  return PageEvent{kind, a, b};
}
int Stick(int x, int y) {
  return (x + 1000) * 4096 + (y + 1000);
}

TEST(PageInput, EventsReachTheGameInBatches) {
  struct Case {
    const char* what;
    std::vector<PageEvent> events;
    std::string first;
    std::string second;
  };
  using K = PageEventKind;
  const Case cases[] = {
      {"a touch tap is seen pressed before it is released",
       {Ev(K::KeyDown, 38), Ev(K::TapKeyUp, 38)},
       "+38",
       "-38"},
      {"a touch release of a key pressed earlier goes at once", {Ev(K::TapKeyUp, 37)}, "-37", ""},
      {"the keyboard's release is never held back",
       {Ev(K::KeyDown, 38), Ev(K::KeyUp, 38)},
       "+38 -38",
       ""},
      {"pointer presses keep their place",
       {Ev(K::PointerDown, 3, 4), Ev(K::PointerUp, 5, 6)},
       "p3,4 r5,6",
       ""},
      {"pad buttons in the standard layout",
       {Ev(K::PadButton, 0, 12 * 2 + 1), Ev(K::PadButton, 0, 1 * 2 + 1),
        Ev(K::PadButton, 0, 9 * 2 + 1), Ev(K::PadButton, 0, 9 * 2)},
       "+38 +13 c0",
       ""},
      {"a pad tap, pressed and released in one processing",
       {Ev(K::PadButton, 1, 0 * 2 + 1), Ev(K::PadButton, 1, 0 * 2)},
       "+37",
       "-37"},
      {"the left stick, in thousandths", {Ev(K::PadStick, 2, Stick(-800, 600))}, "+40 +37", ""},
      {"a pad that is gone lets go",
       {Ev(K::PadButton, 4, 8 * 2 + 1), Ev(K::PadGone, 4)},
       "+27",
       "-27"},
  };
  for (const Case& c : cases) {
    PageInput input;
    for (const PageEvent& e : c.events) input.Take(e);
    EXPECT_EQ(Batch(input), c.first) << c.what;
    EXPECT_EQ(input.HasReady(), !c.second.empty()) << c.what;
    EXPECT_EQ(Batch(input), c.second) << c.what;
  }
}

TEST(PageInput, StandardButtonsAreTheMappingsButtons) {
  EXPECT_EQ(StandardButton(0), app::PadButton::South);
  EXPECT_EQ(StandardButton(1), app::PadButton::East);
  EXPECT_EQ(StandardButton(8), app::PadButton::Back);
  EXPECT_EQ(StandardButton(9), app::PadButton::Start);
  EXPECT_EQ(StandardButton(14), app::PadButton::DpadLeft);
  EXPECT_EQ(StandardButton(16), app::PadButton::Other);
  EXPECT_EQ(StandardButton(-1), app::PadButton::Other);
}

}  // namespace
}  // namespace orvo::web
