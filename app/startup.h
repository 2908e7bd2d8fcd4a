// Start-up checks that need no window: the folder test and the fatal
// message that ends the program when a check fails.
#pragma once

#include <functional>
#include <string>

namespace orvo::app {

inline constexpr char kErrorTitle[] = "Error loading game";

// Shows a start-up failure to the player. The window program installs one
// that opens a message box; tests install their own so that nothing waits
// on a dialog. The default writes the text to standard error.
using FatalMessageFn = std::function<void(const std::string& title, const std::string& text)>;

// Replaces the fatal-message path; an empty function restores the default.
void SetFatalMessage(FatalMessageFn fn);

// Shows `text` under kErrorTitle through the current fatal-message path and
// ends the program with status 1.
[[noreturn]] void Fail(const std::string& text);

// `folder` with a "/" at its end (unchanged when it already has one).
std::string WithSeparator(std::string folder);

// Returns `folder` when it holds at least one ordinary, non-hidden file;
// otherwise fails with "Path not found: " followed by `folder`.
std::string CheckPath(const std::string& folder);

}  // namespace orvo::app
