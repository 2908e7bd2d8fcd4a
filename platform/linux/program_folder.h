// Where the running program lives, on Linux.
#pragma once

#include <string>

namespace orvo::linux_shared {

// The folder of the running executable, symbolic links resolved (no "/" at
// its end). Empty when it cannot be found.
std::string ProgramFolder();

}  // namespace orvo::linux_shared
