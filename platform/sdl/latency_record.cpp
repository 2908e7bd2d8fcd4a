#include "platform/sdl/latency_record.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace orvo::sdl {

namespace {

std::int64_t SteadyNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::int64_t RealtimeNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

LatencyRecord::LatencyRecord() {
  const char* path = std::getenv("ORVO_LATENCY_LOG");
  if (path && *path) {
    path_ = path;
    entries_.reserve(1 << 16);
  }
}

std::int64_t LatencyRecord::Now() {
  return SteadyNs();
}

void LatencyRecord::KeyDown(int code, std::int64_t queuedMs) {
  if (Enabled()) entries_.push_back({'k', code, queuedMs, SteadyNs()});
}

void LatencyRecord::Wake(std::int64_t lateNs) {
  if (Enabled()) entries_.push_back({'w', 0, 0, lateNs});
}

void LatencyRecord::Present() {
  if (!Enabled()) return;
  if (first_present_realtime_ns_ == 0) first_present_realtime_ns_ = RealtimeNs();
  entries_.push_back({'p', 0, 0, SteadyNs()});
}

void LatencyRecord::Flush() {
  if (!Enabled()) return;
  std::FILE* f = std::fopen(path_.c_str(), "w");
  if (!f) return;
  // The first present on the wall clock, so that a launcher can measure the
  // time from its start of the program; then steady-clock nanoseconds.
  std::fprintf(f, "first-present-realtime-ns %lld\n",
               static_cast<long long>(first_present_realtime_ns_));
  for (const Entry& e : entries_) {
    if (e.kind == 'k') {
      std::fprintf(f, "key %d %lld queued-ms %lld\n", e.code, static_cast<long long>(e.steady_ns),
                   static_cast<long long>(e.queued_ms));
    } else if (e.kind == 'w') {
      std::fprintf(f, "wake-late-at-most-ns %lld\n", static_cast<long long>(e.steady_ns));
    } else {
      std::fprintf(f, "present %lld\n", static_cast<long long>(e.steady_ns));
    }
  }
  std::fclose(f);
  entries_.clear();
}

std::unique_ptr<Clock> LatencyRecord::MakeClock() {
  if (!Enabled()) return std::make_unique<Clock>();
  return std::make_unique<RecordingClock>(*this);
}

std::int64_t RecordingClock::TickCount() {
  const std::int64_t before = measuring_ ? LatencyRecord::Now() : 0;
  const std::int64_t tick = Clock::TickCount();
  if (measuring_ && tick < awaited_) {
    short_at_ = before;
    short_by_ = awaited_ - tick;
  }
  return tick;
}

bool RecordingClock::SleepUntil(std::int64_t tick, bool wakeOnEvent, bool due) {
  if (!due) return Clock::SleepUntil(tick, wakeOnEvent, due);
  measuring_ = true;
  awaited_ = tick;
  short_at_ = LatencyRecord::Now();
  short_by_ = 0;
  const bool interrupted = Clock::SleepUntil(tick, wakeOnEvent, due);
  measuring_ = false;
  if (!interrupted) {
    // The tick was reached after the last short reading. After a long
    // sleep that ran past it, that reading says nothing (recorded as -1).
    record_.Wake(short_by_ > kFineStretch ? -1 : LatencyRecord::Now() - short_at_);
  }
  return interrupted;
}

}  // namespace orvo::sdl
