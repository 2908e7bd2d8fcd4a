#include "platform/sdl/message_box.h"

#include <SDL2/SDL.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>

namespace orvo::sdl {

namespace {

// SDL's video drivers that have no screen a person could look at. SDL would
// still try a box on any X display it finds, so these are ruled out first.
bool Screenless(const char* driver) {
  return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0 ||
                    std::strcmp(driver, "evdev") == 0);
}

pid_t box_parent = 0;

// Runs in every child this process forks. SDL shows its X11 message box
// from a child process and waits for it; the child must end with us, or a
// signal that ends the program would leave the box on the screen.
void EndWithParent() {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != box_parent) _exit(1);  // the parent ended before the line above
}

void ChildrenEndWithUs() {
  static const bool registered = [] {
    box_parent = getpid();
    return pthread_atfork(nullptr, nullptr, EndWithParent) == 0;
  }();
  static_cast<void>(registered);
}

}  // namespace

std::string DisplayName() {
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* name = SDL_getenv(variable);
    if (name && *name) return name;
  }
  return {};
}

bool HasDisplay() {
  return !DisplayName().empty();
}

bool IsScreenlessDriver(const char* driver) {
  return Screenless(driver);
}

void ShowErrorBox(const std::string& title, const std::string& text) {
  bool shown = false;
  const bool hadVideo = SDL_WasInit(SDL_INIT_VIDEO) != 0;
  if (HasDisplay() && (hadVideo || SDL_InitSubSystem(SDL_INIT_VIDEO) == 0)) {
    if (!Screenless(SDL_GetCurrentVideoDriver())) {
      ChildrenEndWithUs();
      shown =
          SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr) == 0;
    }
    if (!hadVideo) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  if (!shown) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
  }
}

}  // namespace orvo::sdl
