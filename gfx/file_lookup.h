// How the game finds its files: letter case does not matter, so a folder
// copied from a case-insensitive disk still works, and only ordinary files
// count (no folders, no hidden dot-files).
#pragma once

#include <optional>
#include <string>

namespace orvo::gfx {

// The real path of `path` when it names an ordinary, non-hidden file; a path
// that does not exist as written is matched case-insensitively, folder by
// folder. nullopt when there is no such file.
std::optional<std::string> FindOrdinaryFile(const std::string& path);

// True when `folder` exists and holds at least one ordinary, non-hidden file.
bool HoldsOrdinaryFile(const std::string& folder);

}  // namespace orvo::gfx
