// The program: checks its folders, loads the pictures, opens the window and
// hands the window's events to the application until it ends.
#include <csignal>

#include "app/app.h"
#include "app/startup.h"
#include "platform/desktop/program_folder.h"
#include "platform/sdl/message_box.h"
#include "platform/sdl/sdl_platform.h"

int main(int /*argc*/, char** /*argv*/) {
  using orvo::app::CheckPath;
  using orvo::app::Fail;
  // Ctrl-C and SIGTERM end the program at any moment, also while the start-up
  // failure box waits for its OK (SDL would turn them into window events that
  // nobody reads then). They get their default action even where whoever
  // started the program had them ignored.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  orvo::app::SetFatalMessage(orvo::sdl::ShowErrorBox);

  const std::string appPath = CheckPath(orvo::desktop::ProgramFolder());
  const std::string graphicsPath = CheckPath(appPath + "Graphics/");

  orvo::sdl::SdlPlatform platform;
  orvo::app::App app(platform);
  platform.Attach(app);
  // The pictures are loaded before the window exists, so that a broken one
  // is reported without a window ever appearing.
  std::string error;
  if (!app.StartUp(graphicsPath, error)) Fail(error);
  if (!platform.OpenWindow(error)) Fail(error);
  platform.ShowWindow();
  platform.RunEventLoop();
}
