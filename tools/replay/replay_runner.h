// A whole replay: start-up on the virtual clock, then the scenario.
#pragma once

#include <istream>
#include <string>

#include "tools/replay/line_writer.h"

namespace orvo::replay {

struct ReplayOptions {
  std::string graphicsDir;   // the picture folder, ending in "/"
  bool interactive = false;  // flush the output before each line is read
};

// Runs the scenario read from `scenario`, printing to `out`. Returns the exit
// status: 0 at the scenario's end or when the window is closed, 2 on a
// failure, with `error` set to the line for standard error (without the
// newline). `out` has been flushed when this returns.
int RunReplay(std::istream& scenario, const ReplayOptions& options, LineWriter& out,
              std::string& error);

// "orvo-replay: line N: REASON"
std::string ErrorLine(int line, const std::string& reason);

}  // namespace orvo::replay
