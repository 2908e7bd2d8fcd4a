// The start-up failure message as the player sees it.
#pragma once

#include <string>

namespace orvo::app {

// Shows `text` in a modal error box with one OK button. Where no box can be
// shown (no display, or SDL runs without a screen) the text goes to standard
// error instead, so the program never waits on a dialog nobody can see.
void ShowErrorBox(const std::string& title, const std::string& text);

}  // namespace orvo::app
