// SDL keys reach the key table under the virtual-key codes the game reads.
#include <gtest/gtest.h>

#include "app/key_table.h"
#include "platform/sdl/keys.h"

namespace orvo::app {
namespace {

using sdl::VirtualKeyFor;

TEST(VirtualKeys, GameKeysHaveTheirCodes) {
  EXPECT_EQ(VirtualKeyFor(SDLK_ESCAPE), CodeOf(Key::Escape));
  EXPECT_EQ(VirtualKeyFor(SDLK_RETURN), CodeOf(Key::Enter));
  EXPECT_EQ(VirtualKeyFor(SDLK_KP_ENTER), CodeOf(Key::Enter));
  EXPECT_EQ(VirtualKeyFor(SDLK_LEFT), CodeOf(Key::Left));
  EXPECT_EQ(VirtualKeyFor(SDLK_UP), CodeOf(Key::Up));
  EXPECT_EQ(VirtualKeyFor(SDLK_DOWN), CodeOf(Key::Down));
  EXPECT_EQ(VirtualKeyFor(SDLK_RIGHT), 39);
}

TEST(VirtualKeys, LettersDigitsAndFunctionKeysRunInBlocks) {
  EXPECT_EQ(VirtualKeyFor(SDLK_a), 'A');
  EXPECT_EQ(VirtualKeyFor(SDLK_m), 'M');
  EXPECT_EQ(VirtualKeyFor(SDLK_z), 'Z');
  EXPECT_EQ(VirtualKeyFor(SDLK_0), '0');
  EXPECT_EQ(VirtualKeyFor(SDLK_9), '9');
  EXPECT_EQ(VirtualKeyFor(SDLK_F1), 112);
  EXPECT_EQ(VirtualKeyFor(SDLK_F12), 123);
  EXPECT_EQ(VirtualKeyFor(SDLK_KP_0), 96);
  EXPECT_EQ(VirtualKeyFor(SDLK_KP_9), 105);
}

TEST(VirtualKeys, KeysWithoutACodeAreDropped) {
  EXPECT_EQ(VirtualKeyFor(SDLK_UNKNOWN), -1);
  EXPECT_EQ(VirtualKeyFor(SDLK_AUDIOPLAY), -1);
  EXPECT_EQ(VirtualKeyFor(SDLK_BRIGHTNESSUP), -1);
}

TEST(VirtualKeys, EveryCodeFitsTheKeyTable) {
  for (SDL_Keycode key = 0; key < 512; ++key) {
    const int code = VirtualKeyFor(key);
    EXPECT_TRUE(code == -1 || (code > 0 && code < 256)) << key;
  }
  for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
    const int code = VirtualKeyFor(SDL_SCANCODE_TO_KEYCODE(scancode));
    EXPECT_TRUE(code == -1 || (code > 0 && code < 256)) << scancode;
  }
}

}  // namespace
}  // namespace orvo::app
