// Reads a scenario one command at a time, as the replay reaches it, so that
// a scenario can be streamed (a bot writing commands and reading the output).
#pragma once

#include <functional>
#include <istream>
#include <optional>
#include <string>

#include "tools/replay/command.h"

namespace orvo::replay {

class ScenarioReader {
 public:
  explicit ScenarioReader(std::istream& in) : in_(in) {}

  // Called before each line is read from the stream; an interactive input
  // uses it to flush the output first, so that its writer sees the answers.
  void BeforeRead(std::function<void()> hook) { before_read_ = std::move(hook); }

  // The next command, or nullopt at the end of the scenario. Throws
  // ReplayError for a malformed line.
  std::optional<Command> Next();
  // The number of the last line read (0 before the first).
  int LineNumber() const { return line_; }

 private:
  std::istream& in_;
  std::function<void()> before_read_;
  std::string text_;
  int line_ = 0;
};

}  // namespace orvo::replay
