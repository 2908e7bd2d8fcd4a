// The program: checks its folders, loads the pictures, opens the window and
// hands the window's events to the application until it ends.
#include "app/app.h"
#include "app/sdl_host.h"
#include "app/sdl_message.h"
#include "app/startup.h"

int main(int /*argc*/, char** /*argv*/) {
  using namespace orvo::app;
  SetFatalMessage(ShowErrorBox);

  const std::string appPath = CheckPath(ProgramFolder());
  const std::string graphicsPath = CheckPath(appPath + "Graphics/");

  SdlHost host;
  App app(host);
  host.Attach(app);
  // The pictures are loaded before the window exists, so that a broken one
  // is reported without a window ever appearing.
  std::string error;
  if (!app.StartUp(graphicsPath, error)) Fail(error);
  if (!host.OpenWindow(error)) Fail(error);
  host.ShowWindow();
  host.RunEventLoop();
}
