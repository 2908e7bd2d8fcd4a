// Pictures built into the program: the window's background and its icon.
// Their bytes are generated from assets/ at build time.
#pragma once

#include <cstddef>

namespace orvo::sdl::embedded {

extern const unsigned char kWindowBack[];
extern const std::size_t kWindowBackSize;
extern const unsigned char kIcon[];
extern const std::size_t kIconSize;

}  // namespace orvo::sdl::embedded
