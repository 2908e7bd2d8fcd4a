// The window's CPU while the game waits for input, without a pad and with
// one (an SDL virtual game controller) plugged in: the process's CPU time
// over a few seconds of WaitForEvent, in % of a core. Runs in SDL's
// offscreen driver unless SDL_VIDEODRIVER says otherwise.
// Usage: orvo_pad_wait [seconds per case (3)]
#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "app/shell.h"
#include "platform/sdl/sdl_platform.h"

namespace {

class BuildTreePlatform : public orvo::sdl::SdlPlatform {
 public:
  std::string ProgramFolder() override {
    return std::filesystem::path(ORVO_GRAPHICS_DIR).parent_path().parent_path().string();
  }
};

double CpuPercentWhileWaiting(BuildTreePlatform& platform, int seconds) {
  const std::clock_t cpu = std::clock();
  const std::int64_t end = platform.TickCount() + seconds * 1000;
  while (platform.WaitForEvent(end)) {
  }
  return 100.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC / seconds;
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 3;
  if (seconds <= 0) {
    std::fprintf(stderr, "usage: orvo_pad_wait [seconds per case]\n");
    return 2;
  }
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  BuildTreePlatform platform;
  orvo::app::Shell shell(platform);
  shell.StartUp();
  shell.ProcessEvents(0);
  std::printf("waiting for input, no pad:  %.2f %% of a core\n",
              CpuPercentWhileWaiting(platform, seconds));
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  desc.name = "Bench pad";
  if (SDL_JoystickAttachVirtualEx(&desc) < 0) {
    std::fprintf(stderr, "no virtual pad: %s\n", SDL_GetError());
    return 1;
  }
  shell.ProcessEvents(0);
  std::printf("waiting for input, one pad: %.2f %% of a core\n",
              CpuPercentWhileWaiting(platform, seconds));
  return 0;
}
