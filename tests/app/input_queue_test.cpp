// The rules of input every platform shares: a quick tap of a touch control
// or a pad button reaches the game across two batches, the keyboard's as it
// comes; pads become keys; losing the keyboard lets go of everything held.
#include "app/input_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvo::app {
namespace {

using Kind = InputEvent::Kind;

InputEvent KeyDown(Key key) {
  return InputEvent::KeyEvent(Kind::KeyDown, key);
}
InputEvent KeyUp(Key key) {
  return InputEvent::KeyEvent(Kind::KeyUp, key);
}
InputEvent TouchDown(Key key) {
  return InputEvent::KeyEvent(Kind::KeyDown, key, false);
}
InputEvent TouchUp(Key key) {
  return InputEvent::KeyEvent(Kind::KeyUp, key, false);
}

// Adds `events`, then hands out batches until none is left: "+37 -37 | -38"
// is a key down and up of 37 in one batch, then 38 up in the next.
std::string Batches(InputQueue& queue, const std::vector<InputEvent>& events) {
  for (const InputEvent& e : events) queue.Add(e);
  std::string s;
  while (!queue.Empty()) {
    if (!s.empty()) s += " |";
    while (const std::optional<InputEvent> e = queue.Next()) {
      if (e->kind == Kind::KeyDown) s += " +" + std::to_string(CodeOf(e->key));
      if (e->kind == Kind::KeyUp) s += " -" + std::to_string(CodeOf(e->key));
      if (e->kind == Kind::CaptionClick) s += " c" + std::to_string(e->caption);
      if (e->kind == Kind::Expose) s += " x";
    }
    queue.EndBatch();
  }
  return s;
}

TEST(InputQueue, QuickTapsOfAnythingButTheKeyboardSpanTwoBatches) {
  struct Case {
    const char* what;
    std::vector<InputEvent> events;
    std::string batches;
  };
  const Case cases[] = {
      {"the keyboard as it comes", {KeyDown(Key::Left), KeyUp(Key::Left)}, " +37 -37"},
      {"a touch control's tap", {TouchDown(Key::Left), TouchUp(Key::Left)}, " +37 | -37"},
      {"a pad's tap",
       {InputEvent::Pad(0, PadButton::South, true), InputEvent::Pad(0, PadButton::South, false)},
       " +37 | -37"},
      {"the release alone waits, what follows it does not",
       {TouchDown(Key::Up), TouchUp(Key::Up), InputEvent::Of(Kind::Expose), KeyDown(Key::Down)},
       " +38 x +40 | -38"},
      {"a keyboard press makes a touch release wait too",
       {KeyDown(Key::Up), TouchUp(Key::Up)},
       " +38 | -38"},
      {"a release whose press came earlier does not wait", {TouchUp(Key::Down)}, " -40"},
      {"a pad's Start clicks on its release",
       {InputEvent::Pad(1, PadButton::Start, true), InputEvent::Pad(1, PadButton::Start, false)},
       " c0"},
  };
  for (const Case& c : cases) {
    InputQueue queue;
    EXPECT_EQ(Batches(queue, c.events), c.batches) << c.what;
  }
}

TEST(InputQueue, LosingTheKeyboardLetsGoOfEverythingHeld) {
  InputQueue queue;
  EXPECT_EQ(
      Batches(queue, {KeyDown(Key::Up), TouchDown(Key::Down),
                      InputEvent::Pad(0, PadButton::DpadLeft, true),
                      InputEvent::Stick(1, 0.0f, -0.9f), KeyDown(Key::Enter), KeyUp(Key::Enter)}),
      " +38 +40 +37 +38 +13 -13");
  // Each held key goes up once, the pads' first; Enter was let go already.
  EXPECT_EQ(Batches(queue, {InputEvent::Of(Kind::FocusLost)}), " -37 -38 -40");
  EXPECT_EQ(Batches(queue, {InputEvent::Of(Kind::FocusLost)}), "") << "nothing is held now";
  // A pad is new again afterwards: its button still down is no press until
  // it comes up and down again, and its stick leans afresh.
  EXPECT_EQ(Batches(queue, {InputEvent::Pad(0, PadButton::DpadLeft, false),
                            InputEvent::Stick(1, 0.0f, -0.9f)}),
            " +38");
}

TEST(InputQueue, APadTakenAwayLetsGoOfItsKeysOnly) {
  InputQueue queue;
  Batches(queue, {InputEvent::Pad(0, PadButton::East, true), KeyDown(Key::Up),
                  InputEvent::Pad(1, PadButton::DpadUp, true)});
  EXPECT_EQ(Batches(queue, {InputEvent::Gone(0)}), " -13");
  EXPECT_EQ(Batches(queue, {InputEvent::Gone(0), InputEvent::Gone(7)}), "");
}

}  // namespace
}  // namespace orvo::app
