// The game keeps every path as UTF-8 text. These turn such a path into the
// file system's own and back, so that a folder named in any script works on
// every system: on Windows a file system path is UTF-16, and the C library's
// narrow functions would read the bytes in the system's code page instead.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace orvo::gfx {

// The file system path of the UTF-8 text `utf8`.
std::filesystem::path PathFromUtf8(const std::string& utf8);

// The UTF-8 text of `path`.
std::string Utf8FromPath(const std::filesystem::path& path);

// Opens the file at the UTF-8 path `utf8` for reading bytes; the stream is
// not open when the file cannot be (errno then says why, on the systems
// whose C library sets it).
std::ifstream OpenForReading(const std::string& utf8);

}  // namespace orvo::gfx
