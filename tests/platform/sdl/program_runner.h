// Runs a program as a child process with a chosen environment, collecting
// its standard error and exit status; a child that does not end in time is
// killed and reported as blocked.
#pragma once

#include <string>
#include <vector>

namespace orvo::test {

struct RunResult {
  bool exited = false;   // ended by itself (not killed, not by a signal)
  int status = -1;       // its exit status when it exited
  bool blocked = false;  // still running at the time limit
  std::string err;
};

// `unset` names environment variables removed for the child; `set` adds
// "NAME=value" entries.
RunResult RunProgram(const std::string& path, const std::vector<std::string>& unset,
                     const std::vector<std::string>& set, int seconds = 20);

}  // namespace orvo::test
