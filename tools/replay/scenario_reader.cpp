#include "tools/replay/scenario_reader.h"

namespace orvo::replay {

std::optional<Command> ScenarioReader::Next() {
  for (;;) {
    if (before_read_) before_read_();
    if (!std::getline(in_, text_)) return std::nullopt;
    ++line_;
    // A byte-order mark, as some editors write it, is not part of the first line.
    if (line_ == 1 && text_.rfind("\xEF\xBB\xBF", 0) == 0) text_.erase(0, 3);
    if (auto command = ParseCommand(text_, line_)) return command;
  }
}

}  // namespace orvo::replay
