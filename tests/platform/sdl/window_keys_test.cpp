// Which key events the window keeps for its full-screen switch, and that a
// kept key stays kept, repeats and release included, while everything else
// still goes to the game.
#include <gtest/gtest.h>

#include "platform/sdl/window_keys.h"

namespace orvo::sdl {
namespace {

using Verdict = WindowKeys::Verdict;

SDL_KeyboardEvent Key(Uint32 type, SDL_Keycode sym, Uint16 mod = KMOD_NONE, bool repeat = false) {
  SDL_KeyboardEvent e{};
  e.type = type;
  e.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.repeat = repeat ? 1 : 0;
  e.keysym.sym = sym;
  e.keysym.mod = mod;
  return e;
}
SDL_KeyboardEvent Down(SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
  return Key(SDL_KEYDOWN, sym, mod);
}
SDL_KeyboardEvent Repeat(SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
  return Key(SDL_KEYDOWN, sym, mod, true);
}
SDL_KeyboardEvent Up(SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
  return Key(SDL_KEYUP, sym, mod);
}

TEST(WindowKeys, F11TogglesOncePerPressAndNeverReachesTheGame) {
  WindowKeys keys;
  for (int press = 0; press < 2; ++press) {
    EXPECT_EQ(keys.Judge(Down(SDLK_F11)), Verdict::ToggleFullscreen);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(keys.Judge(Repeat(SDLK_F11)), Verdict::Swallowed);
    EXPECT_EQ(keys.Judge(Up(SDLK_F11)), Verdict::Swallowed);
  }
  // With a modifier it is still the switch.
  EXPECT_EQ(keys.Judge(Down(SDLK_F11, KMOD_LSHIFT)), Verdict::ToggleFullscreen);
  EXPECT_EQ(keys.Judge(Up(SDLK_F11)), Verdict::Swallowed);
  // A repeat or release whose press the window never saw switches nothing.
  EXPECT_EQ(keys.Judge(Repeat(SDLK_F11)), Verdict::Swallowed);
  EXPECT_EQ(keys.Judge(Up(SDLK_F11)), Verdict::Swallowed);
}

TEST(WindowKeys, AltEnterWithEitherAltAndEitherEnterToggles) {
  const Uint16 alts[] = {KMOD_LALT, KMOD_RALT, KMOD_LALT | KMOD_RALT, KMOD_LALT | KMOD_NUM};
  for (const Uint16 alt : alts) {
    for (const SDL_Keycode enter : {SDLK_RETURN, SDLK_KP_ENTER}) {
      WindowKeys keys;
      EXPECT_EQ(keys.Judge(Down(enter, alt)), Verdict::ToggleFullscreen) << alt << " " << enter;
      EXPECT_EQ(keys.Judge(Repeat(enter, alt)), Verdict::Swallowed);
      EXPECT_EQ(keys.Judge(Up(enter, alt)), Verdict::Swallowed);
    }
  }
}

TEST(WindowKeys, EnterAloneAltAloneAndOtherChordsStayTheGames) {
  WindowKeys keys;
  EXPECT_EQ(keys.Judge(Down(SDLK_RETURN)), Verdict::ForTheGame);
  EXPECT_EQ(keys.Judge(Repeat(SDLK_RETURN)), Verdict::ForTheGame);
  EXPECT_EQ(keys.Judge(Up(SDLK_RETURN)), Verdict::ForTheGame);
  EXPECT_EQ(keys.Judge(Down(SDLK_KP_ENTER, KMOD_NUM)), Verdict::ForTheGame);
  EXPECT_EQ(keys.Judge(Up(SDLK_KP_ENTER, KMOD_NUM)), Verdict::ForTheGame);
  EXPECT_EQ(keys.Judge(Down(SDLK_LALT, KMOD_LALT)), Verdict::ForTheGame);
  EXPECT_EQ(keys.Judge(Up(SDLK_LALT)), Verdict::ForTheGame);
  EXPECT_EQ(keys.Judge(Down(SDLK_RETURN, KMOD_LALT | KMOD_LCTRL)), Verdict::ForTheGame);
  EXPECT_EQ(keys.Judge(Up(SDLK_RETURN, KMOD_LALT | KMOD_LCTRL)), Verdict::ForTheGame);
  EXPECT_EQ(keys.Judge(Down(SDLK_RETURN, KMOD_RALT | KMOD_LGUI)), Verdict::ForTheGame);
  EXPECT_EQ(keys.Judge(Up(SDLK_RETURN)), Verdict::ForTheGame);
  EXPECT_EQ(keys.Judge(Down(SDLK_LEFT, KMOD_LALT)), Verdict::ForTheGame);
  EXPECT_EQ(keys.Judge(Down(SDLK_F10)), Verdict::ForTheGame);
  EXPECT_EQ(keys.Judge(Down(SDLK_F12)), Verdict::ForTheGame);
}

TEST(WindowKeys, EnterStaysTheWindowsUntilReleasedEvenWhenAltGoesFirst) {
  WindowKeys keys;
  EXPECT_EQ(keys.Judge(Down(SDLK_RETURN, KMOD_LALT)), Verdict::ToggleFullscreen);
  EXPECT_EQ(keys.Judge(Up(SDLK_LALT)), Verdict::ForTheGame);
  // Still held, now without Alt: its repeats would otherwise set off a bomb.
  EXPECT_EQ(keys.Judge(Repeat(SDLK_RETURN)), Verdict::Swallowed);
  EXPECT_EQ(keys.Judge(Up(SDLK_RETURN)), Verdict::Swallowed);
  // Released: the next Enter is the game's again.
  EXPECT_EQ(keys.Judge(Down(SDLK_RETURN)), Verdict::ForTheGame);
}

TEST(WindowKeys, EnterPressedBeforeAltStaysTheGamesWithItsRepeats) {
  WindowKeys keys;
  EXPECT_EQ(keys.Judge(Down(SDLK_RETURN)), Verdict::ForTheGame);
  EXPECT_EQ(keys.Judge(Down(SDLK_LALT, KMOD_LALT)), Verdict::ForTheGame);
  EXPECT_EQ(keys.Judge(Repeat(SDLK_RETURN, KMOD_LALT)), Verdict::ForTheGame);
  EXPECT_EQ(keys.Judge(Up(SDLK_RETURN, KMOD_LALT)), Verdict::ForTheGame);
}

TEST(WindowKeys, BothEntersAreTrackedApart) {
  WindowKeys keys;
  EXPECT_EQ(keys.Judge(Down(SDLK_RETURN, KMOD_LALT)), Verdict::ToggleFullscreen);
  EXPECT_EQ(keys.Judge(Down(SDLK_KP_ENTER, KMOD_LALT)), Verdict::ToggleFullscreen);
  EXPECT_EQ(keys.Judge(Up(SDLK_RETURN)), Verdict::Swallowed);
  EXPECT_EQ(keys.Judge(Repeat(SDLK_KP_ENTER)), Verdict::Swallowed);
  EXPECT_EQ(keys.Judge(Up(SDLK_KP_ENTER)), Verdict::Swallowed);
  EXPECT_EQ(keys.Judge(Up(SDLK_KP_ENTER)), Verdict::ForTheGame);
}

}  // namespace
}  // namespace orvo::sdl
