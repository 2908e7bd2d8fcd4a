// The program on a Linux desktop: the window shell on the SDL window.
#include <csignal>

#include "app/shell.h"
#include "platform/sdl/sdl_platform.h"

int main(int /*argc*/, char** /*argv*/) {
  // Ctrl-C and SIGTERM end the program at any moment, also while the start-up
  // failure box waits for its OK (SDL would turn them into window events that
  // nobody reads then). They get their default action even where whoever
  // started the program had them ignored.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);

  orvo::sdl::SdlPlatform platform;
  orvo::app::Shell shell(platform);
  shell.Run();
}
