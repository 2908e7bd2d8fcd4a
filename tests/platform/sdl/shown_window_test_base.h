// A test with the game started up in a real (offscreen) window that is
// shown and has processed its first events.
#pragma once

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/shell.h"
#include "platform/sdl/sdl_platform.h"

namespace orvo::app {

class ShownWindowTest : public ::testing::Test {
 protected:
  // The window platform, with the build tree (which holds Graphics/) as the
  // program's folder.
  class BuildTreePlatform : public sdl::SdlPlatform {
   public:
    std::string ProgramFolder() override {
      return std::filesystem::path(ORVO_GRAPHICS_DIR).parent_path().parent_path().string();
    }
  };

  void SetUp() override {
    ASSERT_STREQ(std::getenv("SDL_VIDEODRIVER"), "offscreen");
    shell_.StartUp();
    shell_.ProcessEvents(0);
  }

  BuildTreePlatform host_;
  Shell shell_{host_};
  App& app_ = shell_.Application();
};

}  // namespace orvo::app
