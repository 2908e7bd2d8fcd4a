// The program on Windows: the window shell on the native window.
#include "app/shell.h"
#include "platform/win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*command*/,
                    int /*show*/) {
  orvo::win32::Win32Platform platform;
  orvo::app::Shell shell(platform);
  shell.Run();
}
