// Reads a scenario one command at a time, as the replay reaches it, so that
// a scenario can be streamed (a bot writing commands and reading the output).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "tools/replay/command.h"

namespace orvo::replay {

// The longest line a scenario may hold, without its newline. A longer one is
// refused as soon as it is seen, so that an endless line cannot take up all
// the memory.
inline constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

class ScenarioReader {
 public:
  explicit ScenarioReader(std::istream& in) : in_(in) {}

  // Called before the reader waits for more of the stream; an interactive
  // input uses it to flush the output first, so that its writer sees the
  // answers to the commands it has sent.
  void BeforeRead(std::function<void()> hook) { before_read_ = std::move(hook); }

  // The next command, or nullopt at the end of the scenario. Throws
  // ReplayError for a malformed line, a line longer than kMaxLineBytes and
  // a stream that cannot be read.
  std::optional<Command> Next();
  // The number of the last line read (0 before the first).
  std::int64_t LineNumber() const { return line_; }

 private:
  // Reads the next line into text_, without its newline; false at the end.
  bool ReadLine();
  // Counts and skips the empty lines at the read position.
  void SkipEmptyLines();
  // Takes the next block of the stream: what it holds at once, waiting only
  // for its first byte. False at the end of the stream.
  bool Refill();

  std::istream& in_;
  std::function<void()> before_read_;
  std::vector<char> block_;
  std::size_t next_ = 0;  // read position in block_
  std::size_t end_ = 0;   // bytes of block_ that hold input
  std::string text_;
  std::int64_t line_ = 0;  // 64-bit: a file may hold more than 2^31 lines
};

}  // namespace orvo::replay
