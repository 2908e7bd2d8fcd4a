// The window's class and app id match the desktop entry unless the user
// named others in the environment.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/sdl/app_identity.h"

namespace orvo::sdl {
namespace {

constexpr const char* kX11 = "SDL_VIDEO_X11_WMCLASS";
constexpr const char* kWayland = "SDL_VIDEO_WAYLAND_WMCLASS";

// Sets the two variables for a test and puts back what was there.
class Environment : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {kX11, kWayland}) {
      if (const char* value = std::getenv(name)) saved_[name == kX11 ? 0 : 1] = value;
      unsetenv(name);
    }
  }
  void TearDown() override {
    for (const char* name : {kX11, kWayland}) {
      const std::optional<std::string>& value = saved_[name == kX11 ? 0 : 1];
      if (value) {
        setenv(name, value->c_str(), 1);
      } else {
        unsetenv(name);
      }
    }
  }
  static std::string Get(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "(unset)";
  }

  std::optional<std::string> saved_[2];
};

TEST_F(Environment, BothNamesAreTheDesktopIdWhenTheUserSetNone) {
  NameTheApplication();
  EXPECT_EQ(Get(kX11), "orvo");
  EXPECT_EQ(Get(kWayland), "orvo");
  EXPECT_STREQ(SDL_GetHint(SDL_HINT_APP_NAME), "Orvo");
}

TEST_F(Environment, AUsersX11ClassIsKeptAndStillServesWayland) {
  setenv(kX11, "mine", 1);
  NameTheApplication();
  EXPECT_EQ(Get(kX11), "mine");
  // SDL's Wayland driver falls back to the X11 variable.
  EXPECT_EQ(Get(kWayland), "(unset)");
}

TEST_F(Environment, AUsersWaylandIdIsKept) {
  setenv(kWayland, "mine", 1);
  NameTheApplication();
  EXPECT_EQ(Get(kWayland), "mine");
  EXPECT_EQ(Get(kX11), "orvo");
}

}  // namespace
}  // namespace orvo::sdl
