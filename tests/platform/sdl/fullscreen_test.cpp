// The full-screen switch on a real (offscreen) window: F11 and Alt+Enter go
// to the full screen and back to the window's size from before, never
// reach the game's key table, and a click on a caption still hits it when
// the picture sits scaled and centred on the screen.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/platform/sdl/shown_window_test_base.h"

namespace orvo::app {
namespace {

constexpr app::Key kAlt{18};
constexpr app::Key kF11 = app::Key::F11;
constexpr app::Key kEnter = app::Key::Enter;

class Fullscreen : public ShownWindowTest {
 protected:
  void SetUp() override {
    ShownWindowTest::SetUp();
    if (HasFatalFailure()) return;
    SDL_GetWindowSize(Handle(), &windowed_.w, &windowed_.h);
    ASSERT_EQ(SDL_GetDisplayBounds(0, &display_), 0) << SDL_GetError();
    // Else the full screen could not be told from the window.
    ASSERT_GT(display_.w, windowed_.w);
  }

  SDL_Window* Handle() { return host_.TheWindow().Handle(); }
  SDL_Rect Size() {
    SDL_Rect r{};
    SDL_GetWindowSize(Handle(), &r.w, &r.h);
    return r;
  }
  void Press(Uint32 type, SDL_Keycode key, Uint16 mod = KMOD_NONE, bool repeat = false) {
    SDL_Event e{};
    e.type = type;
    e.key.windowID = SDL_GetWindowID(Handle());
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
    shell_.ProcessEvents(0);
  }
  // A button event as SDL's driver queues it: in the window's pixels, which
  // SDL turns into the picture's own coordinates on the way.
  void Mouse(Uint32 type, SDL_Point at) {
    SDL_Event e{};
    e.type = type;
    e.button.windowID = SDL_GetWindowID(Handle());
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = at.x;
    e.button.y = at.y;
    SDL_PushEvent(&e);
  }
  bool GameKeyPressed(app::Key key) { return app_.Keys()[key].Pressed; }
  bool IsFullscreen() { return host_.TheWindow().IsFullscreen(); }

  SDL_Rect windowed_{};
  SDL_Rect display_{};
};

TEST_F(Fullscreen, F11SwitchesToTheWholeDisplayAndBack) {
  Press(SDL_KEYDOWN, SDLK_F11);
  EXPECT_TRUE(IsFullscreen());
  EXPECT_EQ(Size().w, display_.w);
  EXPECT_EQ(Size().h, display_.h);
  // Held: the repeats leave the mode alone.
  for (int i = 0; i < 4; ++i) Press(SDL_KEYDOWN, SDLK_F11, KMOD_NONE, true);
  EXPECT_TRUE(IsFullscreen());
  Press(SDL_KEYUP, SDLK_F11);
  EXPECT_TRUE(IsFullscreen());

  Press(SDL_KEYDOWN, SDLK_F11);
  Press(SDL_KEYUP, SDLK_F11);
  EXPECT_FALSE(IsFullscreen());
  EXPECT_EQ(Size().w, windowed_.w);
  EXPECT_EQ(Size().h, windowed_.h);
  EXPECT_FALSE(GameKeyPressed(kF11));
}

TEST_F(Fullscreen, AltEnterSwitchesAndEnterAloneStillReachesTheGame) {
  Press(SDL_KEYDOWN, SDLK_LALT, KMOD_LALT);
  EXPECT_TRUE(GameKeyPressed(kAlt));  // Alt alone is the game's, as before
  Press(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT);
  EXPECT_TRUE(IsFullscreen());
  EXPECT_EQ(Size().w, display_.w);
  Press(SDL_KEYUP, SDLK_RETURN, KMOD_LALT);
  Press(SDL_KEYUP, SDLK_LALT);
  EXPECT_FALSE(GameKeyPressed(kEnter));

  Press(SDL_KEYDOWN, SDLK_KP_ENTER, KMOD_RALT);
  Press(SDL_KEYUP, SDLK_KP_ENTER, KMOD_RALT);
  EXPECT_FALSE(IsFullscreen());
  EXPECT_EQ(Size().w, windowed_.w);
  EXPECT_EQ(Size().h, windowed_.h);
  EXPECT_FALSE(GameKeyPressed(kEnter));

  Press(SDL_KEYDOWN, SDLK_RETURN);
  EXPECT_TRUE(GameKeyPressed(kEnter));
  EXPECT_FALSE(IsFullscreen());
}

TEST_F(Fullscreen, AClickOnStartHitsItOnTheScaledCentredPicture) {
  Press(SDL_KEYDOWN, SDLK_F11);
  ASSERT_TRUE(IsFullscreen());
  // The picture at the largest whole multiple that fits, centred.
  const SDL_Rect full = Size();
  const int scale = std::min(full.w / kClientWidth, full.h / kClientHeight);
  ASSERT_GE(scale, 1);
  const int left = (full.w - kClientWidth * scale) / 2;
  const int top = (full.h - kClientHeight * scale) / 2;
  const TextBox text = shell_.BoxOf(game::Control::lblAction0);
  const SDL_Rect box{text.x, text.y, text.w, text.h};
  const SDL_Point at{left + (box.x + box.w / 2) * scale, top + (box.y + box.h / 2) * scale};
  // Where the caption lies in the picture's own coordinates is elsewhere on
  // the screen: a click there must miss.
  ASSERT_FALSE(SDL_PointInRect(&at, &box));
  Mouse(SDL_MOUSEBUTTONDOWN, SDL_Point{box.x + box.w / 2, box.y + box.h / 2});
  shell_.ProcessEvents(0);
  EXPECT_EQ(app_.View().Labels[game::Control::lblAction0].TextColor, kCaptionColor);

  Mouse(SDL_MOUSEBUTTONDOWN, at);
  Mouse(SDL_MOUSEBUTTONUP, at);
  Press(SDL_KEYDOWN, SDLK_ESCAPE);  // ends the game that the click runs
  EXPECT_TRUE(app_.Rules().State().PairActive);
  EXPECT_EQ(app_.View().Labels[game::Control::lblAction0].Caption, "Stop");
}

}  // namespace
}  // namespace orvo::app
