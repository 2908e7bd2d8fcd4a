// How the desktop knows the window: the X11 class and the Wayland app id
// match the desktop entry (orvo.desktop), so that docks and task bars group
// the window under the entry's name and icon.
#pragma once

namespace orvo::sdl {

// The desktop entry's id, which is also the window's class and app id.
inline constexpr const char* kDesktopId = "orvo";
// The program's name where SDL hands one to the system.
inline constexpr const char* kAppName = "Orvo";

// Names the application to SDL; called before SDL starts its video, which
// reads the class from the environment then. A class or app id already set
// in the environment is left as it is.
void NameTheApplication();

}  // namespace orvo::sdl
