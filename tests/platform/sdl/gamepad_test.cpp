// Gamepads in a real (offscreen) window, driven through SDL's virtual
// joysticks: plugged in after the window is up, their buttons and left
// stick reach the game's key table, Start runs a game, a pad pulled out lets
// go of every key it held, and each pad keeps its own.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "tests/platform/sdl/shown_window_test_base.h"

namespace orvo::app {
namespace {

constexpr Key kGameKeys[] = {Key::Up, Key::Down, Key::Left, Key::Enter, Key::Escape};

class Gamepad : public ShownWindowTest {
 protected:
  void SetUp() override {
    ShownWindowTest::SetUp();
    // SDL drops a pad's presses while no window of the program has the
    // keyboard focus, and the offscreen driver gives none the focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  }
  void TearDown() override {
    while (!pads_.empty()) Unplug(pads_.back());
  }

  // Plugs in a virtual game controller and opens it here as a joystick, so
  // that its buttons and axes can be set; the window takes its arrival.
  SDL_Joystick* Plug() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "Test pad";
    const int device = SDL_JoystickAttachVirtualEx(&desc);
    EXPECT_GE(device, 0) << SDL_GetError();
    SDL_Joystick* pad = device < 0 ? nullptr : SDL_JoystickOpen(device);
    EXPECT_NE(pad, nullptr) << SDL_GetError();
    if (pad) pads_.push_back(pad);
    shell_.ProcessEvents(0);
    return pad;
  }
  // Pulls the pad out; the window takes its removal.
  void Unplug(SDL_Joystick* pad) {
    const SDL_JoystickID id = SDL_JoystickInstanceID(pad);
    SDL_JoystickClose(pad);
    std::erase(pads_, pad);
    for (int device = 0; device < SDL_NumJoysticks(); ++device) {
      if (SDL_JoystickGetDeviceInstanceID(device) == id) SDL_JoystickDetachVirtual(device);
    }
    shell_.ProcessEvents(0);
  }
  // Each change is taken in at once, as SDL's events; a press and release
  // set between two updates would never be seen.
  static void Button(SDL_Joystick* pad, SDL_GameControllerButton button, bool down) {
    ASSERT_EQ(SDL_JoystickSetVirtualButton(pad, button, down ? SDL_PRESSED : SDL_RELEASED), 0);
    SDL_JoystickUpdate();
  }
  static void Axis(SDL_Joystick* pad, SDL_GameControllerAxis axis, Sint16 value) {
    ASSERT_EQ(SDL_JoystickSetVirtualAxis(pad, axis, value), 0);
    SDL_JoystickUpdate();
  }
  std::vector<Key> PressedKeys() {
    std::vector<Key> pressed;
    for (Key key : kGameKeys) {
      if (app_.Keys()[key].Pressed) pressed.push_back(key);
    }
    return pressed;
  }

  std::vector<SDL_Joystick*> pads_;
};

TEST_F(Gamepad, ButtonsAndTheLeftStickHoldTheGamesKeys) {
  constexpr Key kNone{0};
  constexpr int kStick = -1;
  struct Case {
    const char* what;
    int button;  // or kStick: `axis` leans to `lean`
    SDL_GameControllerAxis axis;
    Sint16 lean;
    Key key;  // the key it holds, or kNone
  };
  const Case cases[] = {
      {"D-pad up", SDL_CONTROLLER_BUTTON_DPAD_UP, {}, 0, Key::Up},
      {"D-pad down", SDL_CONTROLLER_BUTTON_DPAD_DOWN, {}, 0, Key::Down},
      {"D-pad left", SDL_CONTROLLER_BUTTON_DPAD_LEFT, {}, 0, Key::Left},
      {"A", SDL_CONTROLLER_BUTTON_A, {}, 0, Key::Left},
      {"B", SDL_CONTROLLER_BUTTON_B, {}, 0, Key::Enter},
      {"Back", SDL_CONTROLLER_BUTTON_BACK, {}, 0, Key::Escape},
      {"stick up", kStick, SDL_CONTROLLER_AXIS_LEFTY, -32768, Key::Up},
      {"stick down", kStick, SDL_CONTROLLER_AXIS_LEFTY, 32767, Key::Down},
      {"stick left", kStick, SDL_CONTROLLER_AXIS_LEFTX, -32768, Key::Left},
      {"stick a quarter left", kStick, SDL_CONTROLLER_AXIS_LEFTX, -9000, kNone},
      {"right stick left", kStick, SDL_CONTROLLER_AXIS_RIGHTX, -32768, kNone},
      {"D-pad right", SDL_CONTROLLER_BUTTON_DPAD_RIGHT, {}, 0, kNone},
      {"X", SDL_CONTROLLER_BUTTON_X, {}, 0, kNone},
  };
  SDL_Joystick* pad = Plug();
  ASSERT_NE(pad, nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto set = [&](bool on) {
      if (c.button == kStick) return Axis(pad, c.axis, on ? c.lean : 0);
      Button(pad, static_cast<SDL_GameControllerButton>(c.button), on);
    };
    set(true);
    shell_.ProcessEvents(0);
    EXPECT_EQ(PressedKeys(), c.key == kNone ? std::vector<Key>{} : std::vector<Key>{c.key});
    set(false);
    shell_.ProcessEvents(0);
    // An Enter press stays recorded until a game loop acts on it.
    EXPECT_EQ(PressedKeys(),
              c.key == Key::Enter ? std::vector<Key>{Key::Enter} : std::vector<Key>{});
    app_.Keys()[Key::Enter].Pressed = false;  // a clean table for the next case
  }
}

TEST_F(Gamepad, StartRunsAGameUntilBack) {
  SDL_Joystick* pad = Plug();
  ASSERT_NE(pad, nullptr);
  // Start clicks on its release; the game then runs inside this event
  // processing, takes Back as Escape and stops.
  Button(pad, SDL_CONTROLLER_BUTTON_START, true);
  Button(pad, SDL_CONTROLLER_BUTTON_START, false);
  Button(pad, SDL_CONTROLLER_BUTTON_BACK, true);
  shell_.ProcessEvents(0);
  EXPECT_FALSE(app_.Rules().State().Running);
  EXPECT_TRUE(app_.Rules().State().PairActive);
  EXPECT_EQ(app_.View().Labels[game::Control::lblAction0].Caption, "Stop");
}

TEST_F(Gamepad, APadPulledOutLetsGoOfItsKeysAndPlaysWhenBack) {
  SDL_Joystick* pad = Plug();
  ASSERT_NE(pad, nullptr);
  Button(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
  Axis(pad, SDL_CONTROLLER_AXIS_LEFTY, -32768);
  Button(pad, SDL_CONTROLLER_BUTTON_BACK, true);
  shell_.ProcessEvents(0);
  EXPECT_EQ(PressedKeys(), (std::vector<Key>{Key::Up, Key::Down, Key::Escape}));
  // SDL releases a removed pad's buttons and centres its stick before it
  // reports the removal, and the removal lets go of whatever is left.
  Unplug(pad);
  EXPECT_EQ(PressedKeys(), std::vector<Key>{});
  pad = Plug();
  ASSERT_NE(pad, nullptr);
  Button(pad, SDL_CONTROLLER_BUTTON_A, true);
  shell_.ProcessEvents(0);
  EXPECT_EQ(PressedKeys(), std::vector<Key>{Key::Left});
}

TEST_F(Gamepad, EachPadHoldsItsOwnKeysAndStick) {
  SDL_Joystick* first = Plug();
  SDL_Joystick* second = Plug();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  Button(first, SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
  Button(second, SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
  shell_.ProcessEvents(0);
  EXPECT_EQ(PressedKeys(), std::vector<Key>{Key::Down});
  // The first pad goes: the second still holds Down.
  Unplug(first);
  EXPECT_EQ(PressedKeys(), std::vector<Key>{Key::Down});
  Button(second, SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
  Axis(second, SDL_CONTROLLER_AXIS_LEFTY, 32767);
  Axis(second, SDL_CONTROLLER_AXIS_LEFTX, -32768);
  shell_.ProcessEvents(0);
  // The stick keeps y while x changes.
  EXPECT_EQ(PressedKeys(), (std::vector<Key>{Key::Down, Key::Left}));
  // Flipped from down to up in one move (one SDL event), it lets go of Down
  // and presses Up.
  Axis(second, SDL_CONTROLLER_AXIS_LEFTY, -32768);
  shell_.ProcessEvents(0);
  EXPECT_EQ(PressedKeys(), (std::vector<Key>{Key::Up, Key::Left}));
}

}  // namespace
}  // namespace orvo::app
