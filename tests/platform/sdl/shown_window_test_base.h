// A test with the game started up in a real (offscreen) window that is
// shown and has processed its first events.
#pragma once

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/app.h"
#include "platform/sdl/sdl_platform.h"

namespace orvo::app {

class ShownWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_STREQ(std::getenv("SDL_VIDEODRIVER"), "offscreen");
    host_.Attach(app_);
    std::string error;
    ASSERT_TRUE(app_.StartUp(ORVO_GRAPHICS_DIR, error)) << error;
    ASSERT_TRUE(host_.OpenWindow(error)) << error;
    host_.ShowWindow();
    host_.ProcessEvents(0);
  }

  sdl::SdlPlatform host_;
  App app_{host_};
};

}  // namespace orvo::app
