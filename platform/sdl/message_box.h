// The start-up failure message as the player sees it.
#pragma once

#include <string>

namespace orvo::sdl {

// The desktop to show windows on as named in the environment (the X display,
// else the Wayland compositor); empty when none is named.
std::string DisplayName();
// True when DisplayName() names one.
bool HasDisplay();
// True for SDL's video drivers that draw to no screen ("offscreen", "dummy").
bool IsScreenlessDriver(const char* driver);

// Shows `text` in a modal error box with one OK button. Where no box can be
// shown (no display, or SDL runs without a screen) the text goes to standard
// error instead, so the program never waits on a dialog nobody can see.
void ShowErrorBox(const std::string& title, const std::string& text);

}  // namespace orvo::sdl
