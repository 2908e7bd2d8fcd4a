// The page's events as the shell's input events.
#include "platform/web/page_input.h"

#include <gtest/gtest.h>

#include <string>

namespace orvo::web {
namespace {

using Kind = app::InputEvent::Kind;

// "+38" key down, "-38" key up ("~" for a touch control's), "p3,4" / "r3,4"
// pointer press and release, "b0:12+" pad 0's button 12 down, "s1:0.5,-1"
// pad 1's stick, "g2" pad 2 gone.
std::string Text(const std::optional<app::InputEvent>& e) {
  if (!e) return "";
  const std::string key = std::to_string(app::CodeOf(e->key)) + (e->keyboard ? "" : "~");
  switch (e->kind) {
    case Kind::KeyDown:
      return '+' + key;
    case Kind::KeyUp:
      return '-' + key;
    case Kind::PointerDown:
      return 'p' + std::to_string(e->x) + ',' + std::to_string(e->y);
    case Kind::PointerUp:
      return 'r' + std::to_string(e->x) + ',' + std::to_string(e->y);
    case Kind::PadButton:
      return 'b' + std::to_string(e->pad) + ':' + std::to_string(static_cast<int>(e->button)) +
             (e->down ? '+' : '-');
    case Kind::PadStick: {
      char text[64];
      std::snprintf(text, sizeof text, "s%d:%g,%g", e->pad, e->stickX, e->stickY);
      return text;
    }
    case Kind::PadGone:
      return 'g' + std::to_string(e->pad);
    default:
      return "?";
  }
}

TEST(PageInput, EachPageEventIsOneInputEvent) {
  using K = PageEventKind;
  const int dpadUp = static_cast<int>(app::PadButton::DpadUp);
  const int start = static_cast<int>(app::PadButton::Start);
  const int other = static_cast<int>(app::PadButton::Other);
  struct Case {
    PageEvent event;
    std::string want;
  } cases[] = {
      {{K::KeyDown, 38}, "+38"},
      {{K::KeyUp, 38}, "-38"},
      {{K::TapKeyUp, 37}, "-37~"},
      {{K::PointerDown, 3, 4}, "p3,4"},
      {{K::PointerUp, 5, 6}, "r5,6"},
      {{K::PadButton, 0, 12 * 2 + 1}, "b0:" + std::to_string(dpadUp) + "+"},
      {{K::PadButton, 1, 9 * 2}, "b1:" + std::to_string(start) + "-"},
      {{K::PadButton, 0, 16 * 2 + 1}, "b0:" + std::to_string(other) + "+"},
      {{K::PadStick, 1, (500 + 1000) * 4096 + (-1000 + 1000)}, "s1:0.5,-1"},
      {{K::PadGone, 2}, "g2"},
      {{K::None, 1, 2}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Text(InputEventOf(c.event)), c.want) << static_cast<int>(c.event.kind);
  }
}

}  // namespace
}  // namespace orvo::web
