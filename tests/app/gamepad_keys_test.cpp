// The one gamepad mapping: buttons and the left stick as held keys, Start as
// a click on the Start/Stop caption, and no key left held by a pad that is
// gone.
#include "app/gamepad_keys.h"

#include <gtest/gtest.h>

#include <string>

#include "app/key_table.h"

namespace orvo::app {
namespace {

// The events as text: "+38" key down, "-38" key up, "c0" caption click.
std::string Text(const std::vector<InputEvent>& events) {
  std::string s;
  for (const InputEvent& e : events) {
    if (!s.empty()) s += ' ';
    if (e.kind == InputEvent::Kind::KeyDown) s += '+' + std::to_string(CodeOf(e.key));
    if (e.kind == InputEvent::Kind::KeyUp) s += '-' + std::to_string(CodeOf(e.key));
    if (e.kind == InputEvent::Kind::CaptionClick) s += 'c' + std::to_string(e.caption);
  }
  return s;
}

TEST(GamepadKeys, EachButtonIsItsKeyWhileHeld) {
  struct Case {
    PadButton button;
    std::string down;
    std::string up;
  };
  const Case cases[] = {
      {PadButton::DpadUp, "+38", "-38"},   {PadButton::DpadDown, "+40", "-40"},
      {PadButton::DpadLeft, "+37", "-37"}, {PadButton::South, "+37", "-37"},
      {PadButton::East, "+13", "-13"},     {PadButton::Back, "+27", "-27"},
      {PadButton::Start, "", "c0"},        {PadButton::DpadRight, "", ""},
      {PadButton::West, "", ""},           {PadButton::Other, "", ""},
  };
  for (const Case& c : cases) {
    GamepadKeys pads;
    std::vector<InputEvent> down, again, up;
    pads.Button(0, c.button, true, down);
    pads.Button(0, c.button, true, again);
    pads.Button(0, c.button, false, up);
    EXPECT_EQ(Text(down), c.down) << static_cast<int>(c.button);
    EXPECT_EQ(Text(again), "") << "a repeated report is no new press";
    EXPECT_EQ(Text(up), c.up) << static_cast<int>(c.button);
  }
}

TEST(GamepadKeys, AKeyHeldBySeveralSourcesGoesUpWithTheLast) {
  GamepadKeys pads;
  std::vector<InputEvent> out;
  pads.Button(0, PadButton::DpadLeft, true, out);
  pads.Button(0, PadButton::South, true, out);
  pads.LeftStick(1, -0.9f, 0.0f, out);
  pads.Button(0, PadButton::DpadLeft, false, out);
  pads.Button(0, PadButton::South, false, out);
  EXPECT_EQ(Text(out), "+37");
  pads.LeftStick(1, 0.0f, 0.0f, out);
  EXPECT_EQ(Text(out), "+37 -37");
}

TEST(GamepadKeys, TheStickPressesAtHalfAndReleasesOnlyNearTheMiddle) {
  GamepadKeys pads;
  struct Step {
    float x, y;
    std::string events;
  };
  const Step steps[] = {
      {0.0f, -0.49f, ""},        {0.0f, -0.5f, "+38"},    {0.0f, -0.4f, ""},
      {0.0f, -0.3f, "-38"},      {0.0f, 0.8f, "+40"},     {-0.7f, 0.8f, "+37"},
      {-0.7f, -0.8f, "+38 -40"}, {0.9f, 0.0f, "-38 -37"},  // right is no key of the game
  };
  for (const Step& s : steps) {
    std::vector<InputEvent> out;
    pads.LeftStick(0, s.x, s.y, out);
    EXPECT_EQ(Text(out), s.events) << s.x << ", " << s.y;
  }
}

TEST(GamepadKeys, ADisconnectedPadLetsGoOfEverything) {
  GamepadKeys pads;
  std::vector<InputEvent> out;
  pads.Button(3, PadButton::East, true, out);
  pads.Button(3, PadButton::DpadUp, true, out);
  pads.LeftStick(3, 0.0f, -1.0f, out);
  pads.Button(4, PadButton::DpadUp, true, out);
  out.clear();
  pads.Disconnected(3, out);
  EXPECT_EQ(Text(out), "-13") << "Up is still held by pad 4";
  out.clear();
  pads.Disconnected(4, out);
  pads.Disconnected(9, out);
  EXPECT_EQ(Text(out), "-38");
}

}  // namespace
}  // namespace orvo::app
