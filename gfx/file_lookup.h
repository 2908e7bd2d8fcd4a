// How the game finds its files: letter case does not matter, so a folder
// copied from a case-insensitive disk still works, and only ordinary files
// count (no folders, no hidden files). Built on the platform's listing of a
// folder (file_reader.h), the same rules on every system.
//
// A path's separator is "\" when it has one and no "/" (a Windows path as
// the Windows platform spells it), else "/" (where "\" is an ordinary
// character of a name).
#pragma once

#include <optional>
#include <string>

#include "gfx/file_reader.h"

namespace orvo::gfx {

// The real path of `path` when it names an ordinary, non-hidden file; a
// part of the path that is not found as written is matched ignoring letter
// case, folder by folder (when several match, the first in byte order).
// nullopt when there is no such file.
std::optional<std::string> FindOrdinaryFile(const FileReader& files, const std::string& path);

// True when `folder` (found as FindOrdinaryFile finds its folders) holds at
// least one ordinary file that is not hidden.
bool HoldsOrdinaryFile(const FileReader& files, const std::string& folder);

}  // namespace orvo::gfx
