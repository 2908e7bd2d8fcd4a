// The program's test hooks, the same on every platform and off unless the
// environment asks for them (the page sets the first two from its ?seed= and
// ?dump=):
// - ORVO_SEED=N (a decimal number below 2^32) fixes the random source's
//   seed, so that a test can predict the pairs; a new game then does not
//   seed it again, and the numbers run on from game to game as in a replay
//   with that seed;
// - ORVO_DUMP=FILE appends the game's state to FILE as one line of JSON
//   (state_dump.h) at every frame shown and after every batch of events;
//   only in a build with the dump (dump_hook.h), elsewhere it is not read;
// - ORVO_LATENCY_LOG=FILE records when keys are taken in and handed to the
//   game and when frames are shown, for the window's figures
//   (bench/window_figures.sh); kept in memory, written when the program ends.
#pragma once

#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/dump_hook.h"
#include "app/shell.h"

namespace orvo::app {

// The seed `text` names: decimal digits only, below 2^32.
std::optional<std::uint32_t> ParseSeed(const char* text);

struct TestHooks {
  std::optional<std::uint32_t> seed;
  std::string dumpPath;     // empty: no dump (always without the dump)
  std::string latencyPath;  // empty: no record
  static TestHooks FromEnvironment();
};

// Writes what the hooks ask for of `shell`: its state to the dump file (in a
// build with the dump), and the latency record.
class HookFiles : public ShellObserver {
 public:
  HookFiles(Shell& shell, const TestHooks& hooks);
  ~HookFiles() override;
  HookFiles(const HookFiles&) = delete;
  HookFiles& operator=(const HookFiles&) = delete;
  // Whether any hook writes a file.
  bool Active() const { return dump_ != nullptr || !latency_path_.empty(); }

  void Presented() override;
  void Taken(const InputEvent& event) override;
  void Delivered(const InputEvent& event) override;
  void BatchDelivered() override { Dump(); }
  void Ending() override;

 private:
  void Dump();

  Shell& shell_;
  std::unique_ptr<DumpFile> dump_;
  std::string latency_path_;
  std::deque<std::int64_t> keys_taken_;  // steady-clock ns of key-downs queued
  std::vector<std::string> record_;
  std::int64_t first_present_realtime_ns_ = 0;
};

}  // namespace orvo::app
