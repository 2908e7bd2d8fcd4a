#include "tools/replay/scenario_reader.h"

#include <algorithm>
#include <cstring>
#include <ios>
#include <streambuf>

#include "tools/replay/replay_error.h"

namespace orvo::replay {
namespace {

constexpr std::size_t kBlockBytes = std::size_t{1} << 16;

}  // namespace

std::optional<Command> ScenarioReader::Next() {
  for (;;) {
    SkipEmptyLines();
    if (!ReadLine()) return std::nullopt;
    // A byte-order mark, as some editors write it, is not part of the first line.
    if (line_ == 1 && text_.rfind("\xEF\xBB\xBF", 0) == 0) text_.erase(0, 3);
    if (auto command = ParseCommand(text_, line_)) return command;
  }
}

void ScenarioReader::SkipEmptyLines() {
  // Runs of empty lines cost no parsing: a file of nothing but newlines is
  // counted as fast as it can be read.
  while (next_ < end_ && block_[next_] == '\n') {
    ++next_;
    ++line_;
  }
}

bool ScenarioReader::ReadLine() {
  text_.clear();
  const std::int64_t number = line_ + 1;
  bool any = false;
  for (;;) {
    if (next_ == end_ && !Refill()) break;
    any = true;
    const char* start = block_.data() + next_;
    const std::size_t left = end_ - next_;
    const auto* newline = static_cast<const char*>(std::memchr(start, '\n', left));
    const std::size_t length =
        newline != nullptr ? static_cast<std::size_t>(newline - start) : left;
    if (length > kMaxLineBytes - text_.size()) throw ReplayError("line too long", number);
    text_.append(start, length);
    next_ += length;
    if (newline != nullptr) {
      ++next_;
      break;
    }
  }
  if (!any) return false;
  line_ = number;
  return true;
}

bool ScenarioReader::Refill() {
  using Traits = std::streambuf::traits_type;
  if (before_read_) before_read_();
  std::streambuf* stream = in_.rdbuf();
  if (stream == nullptr) return false;
  if (block_.empty()) block_.resize(kBlockBytes);
  next_ = 0;
  end_ = 0;
  try {
    // Waits for one byte, then takes only what the stream already holds, so
    // that a program writing the scenario line by line is never kept waiting.
    const Traits::int_type first = stream->sbumpc();
    if (Traits::eq_int_type(first, Traits::eof())) return false;
    block_[0] = Traits::to_char_type(first);
    end_ = 1;
    const std::streamsize ready = stream->in_avail();
    if (ready > 0) {
      const auto want = static_cast<std::streamsize>(
          std::min<std::size_t>(static_cast<std::size_t>(ready), block_.size() - 1));
      end_ += static_cast<std::size_t>(stream->sgetn(block_.data() + 1, want));
    }
  } catch (const std::ios_base::failure& e) {
    // A file stream reports a failed read (a folder given as the scenario, an
    // I/O error) by throwing; it is not the end of the scenario.
    throw ReplayError("cannot read the scenario: " + e.code().message(), line_ + 1);
  }
  return true;
}

}  // namespace orvo::replay
