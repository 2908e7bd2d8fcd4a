// Kept apart from the window's own files: SDL_syswm.h brings in Xlib, whose
// global names (Window, None, Bool) must not meet the program's.
#include "platform/sdl/window_manager.h"

#include <SDL2/SDL_syswm.h>
#include <X11/Xatom.h>

namespace orvo::sdl {

namespace {

bool RootNamesAWindowManager(Display* display) {
  // Only if it exists: a server on which no window manager ever ran may not
  // know the atom at all.
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                        XA_WINDOW, &type, &format, &count, &after, &data);
  if (data) XFree(data);
  // The window the property names is not looked at in turn, as EWMH would
  // have it: asking about a window that a crashed manager left gone raises
  // an X error, whose default handler ends the program.
  return status == Success && type == XA_WINDOW && count == 1;
}

}  // namespace

bool WindowManagerRuns(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
    return true;
  }
  return RootNamesAWindowManager(info.info.x11.display);
}

}  // namespace orvo::sdl
