// How a replay stops early: a scenario error (reported with its line and
// exit status 2) or the program's end (the window closed, or the scenario's
// last command done).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/headless/headless_platform.h"

namespace orvo::replay {

// The line is that of the command being executed, or of the `run` whose
// time was passing; kCurrentLine lets the engine fill it in.
class ReplayError : public std::runtime_error {
 public:
  static constexpr std::int64_t kCurrentLine = -1;

  explicit ReplayError(const std::string& reason, std::int64_t line = kCurrentLine)
      : std::runtime_error(reason), reason_(reason), line_(line) {}
  std::int64_t Line() const { return line_; }
  // The whole reason: what() ends at a NUL byte that the scenario's text may
  // hold.
  const std::string& Reason() const { return reason_; }

 private:
  std::string reason_;
  std::int64_t line_;
};

// Unwinds everything to main, which then exits with its status: the
// headless platform's end of the program.
using ProgramEnd = headless::ProgramEnd;

}  // namespace orvo::replay
