// An opt-in record of key presses and presented frames, for measuring how
// quickly a key shows on screen, and of where a close request ended the
// program. Switched on by ORVO_LATENCY_LOG=<file>; the lines are kept in
// memory and written when the program ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvo::app {

class LatencyLog {
 public:
  LatencyLog();  // reads ORVO_LATENCY_LOG
  bool Enabled() const { return !path_.empty(); }
  // A key-down handed to the game, `queuedMs` after SDL took it in.
  void KeyDown(int code, std::int64_t queuedMs);
  void Present();
  // A timed wake-up, at most `lateNs` after its tick was reached.
  void Wake(std::int64_t lateNs);
  // A close request ended the program inside a wait, `leftMs` before the
  // wait's end: the cascade did not run on.
  void CloseInWait(std::int64_t leftMs);
  // A close request ended the program from the event processing. `late`:
  // it had been queued before the last wait ended, which should have acted
  // on it.
  void CloseFromEvents(bool late);
  // Steady-clock nanoseconds.
  static std::int64_t Now();
  // Writes the lines to the file.
  void Flush();

 private:
  struct Entry {
    char kind;  // 'k' key down, 'p' present, 'w' timed wake-up, 'c' close
    int code;
    std::int64_t queued_ms;
    std::int64_t steady_ns;
  };
  std::string path_;
  std::vector<Entry> entries_;
  std::int64_t first_present_realtime_ns_ = 0;
};

}  // namespace orvo::app
