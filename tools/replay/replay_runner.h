// A whole replay: start-up on the virtual clock, then the scenario.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

#include "tools/replay/line_writer.h"

namespace orvo::replay {

struct ReplayOptions {
  std::string graphicsDir;   // the picture folder ("/" at its end or not)
  bool interactive = false;  // flush the output before waiting for input
  // The folder that `snapshot` names are resolved against; empty: the
  // current folder.
  std::string snapshotFolder;
  // Fails the replay after this many loop turns that find something due (0:
  // no bound). Only the fuzzing harness sets it.
  std::uint64_t maxDueTurns = 0;
};

// Runs the scenario read from `scenario`, printing to `out`. Returns the exit
// status: 0 at the scenario's end or when the window is closed, 2 on a
// failure, with `error` set to the line for standard error (without the
// newline). `out` has been written out and closed when this returns; a
// failure to do so is a failure of the replay.
int RunReplay(std::istream& scenario, const ReplayOptions& options, LineWriter& out,
              std::string& error);

// "orvo-replay: line N: REASON", with the reason's unprintable bytes escaped
// (it may quote the scenario).
std::string ErrorLine(std::int64_t line, const std::string& reason);

}  // namespace orvo::replay
