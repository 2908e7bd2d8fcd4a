// The SDL platform with a real (offscreen) window: events reach the handlers,
// Start runs a game, Exit and closing end the program, and the waits sleep
// without ever returning early.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>

#include "app/shell.h"
#include "platform/sdl/sdl_platform.h"
#include "tests/platform/sdl/shown_window_test_base.h"

namespace orvo::app {
namespace {

using game::Control;

class Window : public ShownWindowTest {
 protected:
  // The middle of a caption's text, in window coordinates.
  SDL_Point CentreOf(Control c) {
    const TextBox box = shell_.BoxOf(c);
    return SDL_Point{box.x + box.w / 2, box.y + box.h / 2};
  }
  static void PushMouse(Uint32 type, SDL_Point at) {
    SDL_Event e{};
    e.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = at.x;
    e.button.y = at.y;
    SDL_PushEvent(&e);
  }
  static void PushKey(Uint32 type, SDL_Keycode key, bool repeat = false) {
    SDL_Event e{};
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    SDL_PushEvent(&e);
  }
  static void PushQuit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
  }
  void Click(Control c) {
    PushMouse(SDL_MOUSEBUTTONDOWN, CentreOf(c));
    PushMouse(SDL_MOUSEBUTTONUP, CentreOf(c));
  }
  // The composed window as last presented.
  gfx::Color PixelAt(int x, int y) {
    Uint32 p = 0;
    SDL_Rect one{x, y, 1, 1};
    SDL_RenderReadPixels(host_.TheWindow().Renderer(), &one, SDL_PIXELFORMAT_ARGB8888, &p, 4);
    return gfx::Rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  int CountColor(Control c, gfx::Color color) {
    const TextBox box = shell_.BoxOf(c);
    int n = 0;
    for (int y = box.y; y < box.y + box.h; ++y) {
      for (int x = box.x; x < box.x + box.w; ++x) n += PixelAt(x, y) == color;
    }
    return n;
  }
};

TEST_F(Window, HasItsCaptionAndLogicalSize) {
  EXPECT_STREQ(SDL_GetWindowTitle(host_.TheWindow().Handle()), "Orvo (O-tended Pell)");
  int w = 0, h = 0;
  SDL_RenderGetLogicalSize(host_.TheWindow().Renderer(), &w, &h);
  EXPECT_EQ(w, 580);
  EXPECT_EQ(h, 388);
  SDL_GetWindowSize(host_.TheWindow().Handle(), &w, &h);
  EXPECT_EQ(w % 580, 0);
  EXPECT_EQ(h % 388, 0);
  EXPECT_EQ(w / 580, h / 388);
}

TEST_F(Window, KeysReachTheKeyTableWithTheirCodes) {
  PushKey(SDL_KEYDOWN, SDLK_LEFT);
  PushKey(SDL_KEYDOWN, SDLK_KP_ENTER);
  PushKey(SDL_KEYDOWN, SDLK_a);
  shell_.ProcessEvents(0);
  EXPECT_TRUE(app_.Keys()[Key::Left].Pressed);
  EXPECT_TRUE(app_.Keys()[Key::Enter].Pressed);
  EXPECT_TRUE(app_.Keys()[Key{'A'}].Pressed);

  PushKey(SDL_KEYUP, SDLK_LEFT);
  PushKey(SDL_KEYUP, SDLK_KP_ENTER);
  shell_.ProcessEvents(0);
  EXPECT_FALSE(app_.Keys()[Key::Left].Pressed);
  EXPECT_TRUE(app_.Keys()[Key::Enter].Pressed);  // an Enter press waits for the loop

  // The platform's key repeat arrives as further key-downs.
  PushKey(SDL_KEYDOWN, SDLK_UP, true);
  shell_.ProcessEvents(0);
  EXPECT_TRUE(app_.Keys()[Key::Up].Pressed);
}

TEST_F(Window, LosingTheFocusLetsGoOfTheHeldKeys) {
  PushKey(SDL_KEYDOWN, SDLK_LEFT);
  shell_.ProcessEvents(0);
  ASSERT_TRUE(app_.Keys()[Key::Left].Pressed);
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  e.window.windowID = SDL_GetWindowID(host_.TheWindow().Handle());
  SDL_PushEvent(&e);
  shell_.ProcessEvents(0);
  EXPECT_FALSE(app_.Keys()[Key::Left].Pressed);
}

TEST_F(Window, APressColoursTheCaptionAndAReleaseElsewhereDoesNotClick) {
  PushMouse(SDL_MOUSEBUTTONDOWN, CentreOf(Control::lblAction0));
  shell_.ProcessEvents(0);
  EXPECT_EQ(app_.View().Labels[Control::lblAction0].TextColor, kPressedColor);
  EXPECT_GT(CountColor(Control::lblAction0, kPressedColor), 3);

  PushMouse(SDL_MOUSEBUTTONUP, SDL_Point{300, 370});
  shell_.ProcessEvents(0);
  EXPECT_EQ(app_.View().Labels[Control::lblAction0].TextColor, kCaptionColor);
  EXPECT_GT(CountColor(Control::lblAction0, kCaptionColor), 3);
  EXPECT_EQ(app_.View().Labels[Control::lblAction0].Caption, "Start");
  EXPECT_FALSE(app_.Rules().State().Running);
}

TEST_F(Window, APressBesideTheTextIsNoPress) {
  const TextBox box = shell_.BoxOf(Control::lblAction0);
  PushMouse(SDL_MOUSEBUTTONDOWN, SDL_Point{box.x + box.w + 2, box.y + 2});
  shell_.ProcessEvents(0);
  EXPECT_EQ(app_.View().Labels[Control::lblAction0].TextColor, kCaptionColor);
  // A right-button press on the text is no press either.
  SDL_Event e{};
  e.type = SDL_MOUSEBUTTONDOWN;
  e.button.button = SDL_BUTTON_RIGHT;
  e.button.x = box.x + 1;
  e.button.y = box.y + 1;
  SDL_PushEvent(&e);
  shell_.ProcessEvents(0);
  EXPECT_EQ(app_.View().Labels[Control::lblAction0].TextColor, kCaptionColor);
}

TEST_F(Window, ShowsTheShellsFramePixelForPixel) {
  app_.Labels().SetVisible(Control::lblScore, true);
  shell_.ProcessEvents(0);
  const gfx::Surface& frame = shell_.Frame();
  for (int y = 0; y < kClientHeight; y += 3) {
    for (int x = 0; x < kClientWidth; x += 3)
      ASSERT_EQ(PixelAt(x, y), frame.Row(y)[x]) << x << "," << y;
  }
  // The captions' text was rendered: there is ink in every caption's box.
  for (Control c : {Control::lblAction0, Control::lblAction1, Control::lblScore}) {
    const TextBox box = shell_.BoxOf(c);
    EXPECT_GT(box.w, 4) << game::ControlName(c);
    EXPECT_GT(CountColor(c, app_.View().Labels[c].TextColor), 3) << game::ControlName(c);
  }
}

TEST_F(Window, AClickOnStartRunsAGameUntilEscape) {
  Click(Control::lblAction0);
  PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
  // The click runs the whole game; Escape, handled by the game's own event
  // processing, stops it and the click returns.
  shell_.ProcessEvents(0);
  const game::GameState& state = app_.Rules().State();
  EXPECT_FALSE(state.Running);
  EXPECT_TRUE(state.PairActive);
  EXPECT_EQ(app_.View().Labels[Control::lblAction0].Caption, "Stop");
  EXPECT_EQ(app_.View().Labels[Control::lblAction0].TextColor, kCaptionColor);
  // The pair's two blocks are on the board picture at the entry cells.
  std::set<gfx::Color> colours;
  for (int x = kFrontLeft + 9 * 48; x < kFrontLeft + 10 * 48; ++x) {
    for (int y = kFrontTop + 2 * 48; y < kFrontTop + 3 * 48; ++y) colours.insert(PixelAt(x, y));
  }
  EXPECT_GT(colours.size(), 8u);
}

TEST_F(Window, AnUncoveredWindowShowsTheBoardSurfaceAsItIs) {
  // Outside a game a repaint request redraws nothing on the board surface;
  // the window shows the surface's image as it stands.
  gfx::Surface* front = app_.Rules().Graphics().surfaces->Get(app_.Rules().Graphics().FrontDC);
  ASSERT_NE(front, nullptr);
  front->Fill(gfx::Rgb(10, 200, 30));
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_EXPOSED;
  e.window.windowID = SDL_GetWindowID(host_.TheWindow().Handle());
  SDL_PushEvent(&e);
  shell_.ProcessEvents(0);
  EXPECT_EQ(front->Row(0)[0], gfx::Rgb(10, 200, 30));
  EXPECT_EQ(PixelAt(kFrontLeft, kFrontTop), gfx::Rgb(10, 200, 30));
  EXPECT_EQ(PixelAt(kFrontLeft + 479, kFrontTop + 287), gfx::Rgb(10, 200, 30));
  EXPECT_NE(PixelAt(kFrontLeft - 1, kFrontTop), gfx::Rgb(10, 200, 30));
}

TEST_F(Window, AClickOnExitEndsTheProgram) {
  EXPECT_EXIT(
      {
        Click(Control::lblAction1);
        shell_.ProcessEvents(0);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(Window, ClosingTheWindowEndsTheProgram) {
  EXPECT_EXIT(
      {
        PushQuit();
        shell_.ProcessEvents(0);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(Window, ClosingDuringACascadeWaitEndsTheProgramThen) {
  EXPECT_EXIT(
      {
        PushQuit();
        shell_.WaitUntil(host_.TickCount() + 10000, 10000);
        std::exit(3);  // not reached
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(Window, AWaitHandlesNoEventsAndNeverReturnsEarly) {
  PushKey(SDL_KEYDOWN, SDLK_DOWN);
  const std::int64_t deadline = host_.TickCount() + 120;
  shell_.WaitUntil(deadline, 120);
  EXPECT_GE(host_.TickCount(), deadline);
  EXPECT_FALSE(app_.Keys()[Key::Down].Pressed);
  shell_.ProcessEvents(0);
  EXPECT_TRUE(app_.Keys()[Key::Down].Pressed);
}

TEST_F(Window, ProcessEventsSleepsUntilTheNextStepIsDue) {
  for (int i = 0; i < 5; ++i) {
    const std::int64_t due = host_.TickCount() + 7 + i * 5;
    shell_.ProcessEvents(due);
    EXPECT_GE(host_.TickCount(), due);
  }
}

TEST_F(Window, AnEventEndsTheSleepEarly) {
  const std::int64_t start = host_.TickCount();
  std::thread presser([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    PushKey(SDL_KEYDOWN, SDLK_UP);
  });
  shell_.ProcessEvents(start + 20000);
  presser.join();
  EXPECT_TRUE(app_.Keys()[Key::Up].Pressed);
  EXPECT_LT(host_.TickCount(), start + 20000);
}

}  // namespace
}  // namespace orvo::app
