// libFuzzer: any bytes as a scenario, run whole through RunReplay on the real
// game with its output kept in a string. Whatever the scenario, the replay
// must end with status 0, or 2 and one error line; a crash, a sanitizer
// report, a hang or runaway memory is a finding.
//
// One cap, because a scenario may rightly ask for a great deal of work: a
// key held down acts on every one of its intervals, so a held key and a run
// to the end of the clock would keep a game busy for years of virtual time.
// The harness fails a replay (status 2) after kMaxDueTurns loop turns that
// found something due. Idle turns never count, and nothing else is bounded,
// so a hang that does not move through due turns (an endless cascade, idle
// turns that are not skipped) still shows as a timeout.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "tools/replay/line_writer.h"
#include "tools/replay/replay_runner.h"

namespace {

// About a second of the sanitized build's work at the costliest turns.
constexpr std::uint64_t kMaxDueTurns = 20000;

// Snapshots go to a folder of the harness's own, emptied after each input.
// (The current folder stays as it is, for libFuzzer's own files.)
std::string& SnapshotFolder() {
  static std::string folder;
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  char folder[] = "/tmp/orvo_replay_fuzz_XXXXXX";
  if (::mkdtemp(folder) == nullptr) std::abort();
  SnapshotFolder() = folder;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream scenario(std::string(reinterpret_cast<const char*>(data), size));
  std::string out;
  std::string error;
  orvo::replay::LineWriter writer(&out);
  orvo::replay::ReplayOptions options;
  options.graphicsDir = ORVO_GRAPHICS_DIR;
  options.maxDueTurns = kMaxDueTurns;
  options.snapshotFolder = SnapshotFolder();
  const int status = orvo::replay::RunReplay(scenario, options, writer, error);
  if (status == 0 && !error.empty()) std::abort();
  if (status == 2 && (error.empty() || error.find('\n') != std::string::npos)) std::abort();
  if (status != 0 && status != 2) std::abort();
  // Missing pictures would make every input fail at once: nothing fuzzed.
  if (error.rfind("orvo-replay: line 0: ", 0) == 0) std::abort();

  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(SnapshotFolder(), ec)) {
    std::filesystem::remove_all(entry.path(), ec);
  }
  return 0;
}
