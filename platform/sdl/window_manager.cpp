// Kept apart from the window's own files: SDL_syswm.h brings in Xlib, whose
// global names (Window, None, Bool) must not meet the program's.
#include "platform/sdl/window_manager.h"

#include <SDL2/SDL_syswm.h>
#include <dlfcn.h>

namespace orvo::sdl {

namespace {

// The three Xlib calls the check needs. They are taken from the libX11 that
// SDL's X11 driver has loaded, so the program links no X library itself.
struct Xlib {
  using InternAtomFn = Atom (*)(Display*, const char*, Bool);
  using GetWindowPropertyFn = int (*)(Display*, ::Window, Atom, long, long, Bool, Atom, Atom*, int*,
                                      unsigned long*, unsigned long*, unsigned char**);
  using FreeFn = int (*)(void*);

  explicit Xlib(void* library)
      : InternAtom(reinterpret_cast<InternAtomFn>(dlsym(library, "XInternAtom"))),
        GetWindowProperty(
            reinterpret_cast<GetWindowPropertyFn>(dlsym(library, "XGetWindowProperty"))),
        Free(reinterpret_cast<FreeFn>(dlsym(library, "XFree"))) {}
  bool Complete() const { return InternAtom && GetWindowProperty && Free; }

  InternAtomFn InternAtom;
  GetWindowPropertyFn GetWindowProperty;
  FreeFn Free;
};

bool RootNamesAWindowManager(const Xlib& x, Display* display) {
  // Only if it exists: a server on which no window manager ever ran may not
  // know the atom at all.
  const Atom check = x.InternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  const int status = x.GetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                         XA_WINDOW, &type, &format, &count, &after, &data);
  if (data) x.Free(data);
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
  void* library = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
  if (!library) return true;
  const Xlib x(library);
  const bool runs = !x.Complete() || RootNamesAWindowManager(x, info.info.x11.display);
  dlclose(library);
  return runs;
}

}  // namespace orvo::sdl
