// Listing folders and reading files with Windows' own calls, by their
// UTF-16 names, so that a folder named in any script works.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gfx/file_reader.h"

namespace orvo::win32 {

// The entries of `folder` by FindFirstFileExW; files marked hidden or
// system (desktop.ini, Thumbs.db) are kHiddenFile.
std::optional<std::vector<gfx::FolderEntry>> ListFolder(const std::string& folder);

// gfx::FileReader::ReadFile with CreateFileW and ReadFile.
gfx::FileRead ReadFile(const std::string& path, std::int64_t limit,
                       std::vector<std::uint8_t>& bytes);

}  // namespace orvo::win32
