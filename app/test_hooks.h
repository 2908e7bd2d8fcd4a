// The program's test hooks, the same on every platform and off unless the
// environment asks for them (the page sets them from its ?seed= and ?dump=):
// - ORVO_SEED=N (a decimal number below 2^32) fixes the random source's
//   seed, so that a test can predict the pairs; a new game then does not
//   seed it again, and the numbers run on from game to game as in a replay
//   with that seed;
// - ORVO_DUMP=FILE appends the game's state to FILE as one line of JSON
//   (state_dump.h) at every frame shown and after every batch of events.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "app/shell.h"

namespace orvo::app {

// The seed `text` names: decimal digits only, below 2^32.
std::optional<std::uint32_t> ParseSeed(const char* text);

struct TestHooks {
  std::optional<std::uint32_t> seed;
  std::string dumpPath;  // empty: no dump
  static TestHooks FromEnvironment();
};

// Writes the state of `shell` to a file whenever the shell shows a frame or
// has handed out a batch of events.
class StateDumpFile : public ShellObserver {
 public:
  StateDumpFile(Shell& shell, const std::string& path);
  ~StateDumpFile() override;
  StateDumpFile(const StateDumpFile&) = delete;
  StateDumpFile& operator=(const StateDumpFile&) = delete;
  bool IsOpen() const { return file_ != nullptr; }

  void Presented() override { Write(); }
  void BatchDelivered() override { Write(); }

 private:
  void Write();

  Shell& shell_;
  std::FILE* file_ = nullptr;
};

}  // namespace orvo::app
