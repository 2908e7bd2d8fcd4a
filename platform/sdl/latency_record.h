// An opt-in record of key presses, presented frames and timed wake-ups, for
// measuring how quickly a key shows on screen. Switched on by ORVO_LATENCY_LOG=<file>; the lines
// are kept in memory and written when the program ends. Switched off, every call does nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/sdl/clock.h"

namespace orvo::sdl {

class LatencyRecord {
 public:
  LatencyRecord();  // reads ORVO_LATENCY_LOG
  bool Enabled() const { return !path_.empty(); }
  // A key-down handed to the game, `queuedMs` after SDL took it in.
  void KeyDown(int code, std::int64_t queuedMs);
  void Present();
  // A timed wake-up, at most `lateNs` after its tick was reached (-1: no
  // bound known, the tick was passed during a long sleep).
  void Wake(std::int64_t lateNs);
  // Steady-clock nanoseconds.
  static std::int64_t Now();
  // Writes the lines to the file.
  void Flush();

  // The clock to run the window on: a plain one, or, when recording, one
  // that records every due wake-up here.
  std::unique_ptr<Clock> MakeClock();

 private:
  struct Entry {
    char kind;  // 'k' key down, 'p' present, 'w' timed wake-up
    int code;
    std::int64_t queued_ms;
    std::int64_t steady_ns;
  };
  std::string path_;
  std::vector<Entry> entries_;
  std::int64_t first_present_realtime_ns_ = 0;
};

// The clock with the record around it: every tick reading of a due sleep
// remembers when it was taken, so that the wake-up can be bounded by the
// last reading that was still short of the tick.
class RecordingClock : public Clock {
 public:
  explicit RecordingClock(LatencyRecord& record) : record_(record) {}

  std::int64_t TickCount() override;
  bool SleepUntil(std::int64_t tick, bool wakeOnEvent, bool due) override;

 private:
  LatencyRecord& record_;
  bool measuring_ = false;
  std::int64_t awaited_ = 0;   // the tick of the due sleep under way
  std::int64_t short_at_ = 0;  // steady time before the last reading short of it
  std::int64_t short_by_ = 0;  // how many milliseconds short that reading was
};

}  // namespace orvo::sdl
