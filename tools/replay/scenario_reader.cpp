#include "tools/replay/scenario_reader.h"

namespace orvo::replay {

std::optional<Command> ScenarioReader::Next() {
  for (;;) {
    if (before_read_) before_read_();
    if (!std::getline(in_, text_)) return std::nullopt;
    ++line_;
    if (auto command = ParseCommand(text_, line_)) return command;
  }
}

}  // namespace orvo::replay
