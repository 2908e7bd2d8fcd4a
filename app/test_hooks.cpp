#include "app/test_hooks.h"

#include <cstdlib>

namespace orvo::app {

std::optional<std::uint32_t> ParseSeed(const char* text) {
  if (text == nullptr || *text == '\0') return std::nullopt;
  std::uint64_t value = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(*c - '0');
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

TestHooks TestHooks::FromEnvironment() {
  TestHooks hooks;
  hooks.seed = ParseSeed(std::getenv("ORVO_SEED"));
  if (const char* dump = std::getenv("ORVO_DUMP")) hooks.dumpPath = dump;
  return hooks;
}

StateDumpFile::StateDumpFile(Shell& shell, const std::string& path) : shell_(shell) {
  if (!path.empty()) file_ = std::fopen(path.c_str(), "ab");
}

StateDumpFile::~StateDumpFile() {
  if (file_) std::fclose(file_);
}

void StateDumpFile::Write() {
  if (file_ == nullptr) return;
  const std::string line = shell_.StateDump() + "\n";
  std::fwrite(line.data(), 1, line.size(), file_);
  // Each line is whole on disk at once: the program may end at any moment.
  std::fflush(file_);
}

}  // namespace orvo::app
