// The program on Windows: the window shell on the native window.
#include <cstdint>
#include <optional>

// The game's key table names its keys as Windows' headers do (VK_LEFT and
// the rest, which they define as macros): it comes first.
#include "app/shell.h"
#include "platform/win32/win32_platform.h"

#ifdef ORVO_TEST_HOOKS
#include "platform/win32/test_hooks.h"
#endif

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*command*/,
                    int /*show*/) {
#ifdef ORVO_TEST_HOOKS
  orvo::win32::HookedPlatform platform;
#else
  orvo::win32::Win32Platform platform;
#endif
  orvo::app::Shell shell(platform);
#ifdef ORVO_TEST_HOOKS
  platform.PublishStateOf(&shell);
#endif
  shell.Run();
}
