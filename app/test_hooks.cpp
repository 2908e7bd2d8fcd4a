#include "app/test_hooks.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace orvo::app {

namespace {

template <typename Clock>
std::int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
      .count();
}

// `line` and its end. Written plainly: a formatted write would bring
// MinGW's printf into orvo.exe for this alone.
void WriteLine(std::FILE* f, const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), f);
  std::fputc('\n', f);
}

// A key-down of the keyboard, whose way to the screen the record follows.
bool IsKeyPress(const InputEvent& event) {
  return event.kind == InputEvent::Kind::KeyDown && event.keyboard;
}

}  // namespace

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
  hooks.dumpPath = DumpPathFromEnvironment();
  if (const char* log = std::getenv("ORVO_LATENCY_LOG")) hooks.latencyPath = log;
  return hooks;
}

HookFiles::HookFiles(Shell& shell, const TestHooks& hooks)
    : shell_(shell), latency_path_(hooks.latencyPath) {
  if (!hooks.dumpPath.empty()) dump_ = OpenDumpFile(hooks.dumpPath);
  if (!latency_path_.empty()) record_.reserve(1 << 16);
}

HookFiles::~HookFiles() = default;

void HookFiles::Dump() {
  if (dump_) dump_->Write(shell_);
}

void HookFiles::Presented() {
  Dump();
  if (latency_path_.empty()) return;
  if (first_present_realtime_ns_ == 0) {
    first_present_realtime_ns_ = NowNs<std::chrono::system_clock>();
  }
  record_.push_back("present " + std::to_string(NowNs<std::chrono::steady_clock>()));
}

void HookFiles::Taken(const InputEvent& event) {
  if (!latency_path_.empty() && IsKeyPress(event)) {
    keys_taken_.push_back(NowNs<std::chrono::steady_clock>());
  }
}

void HookFiles::Delivered(const InputEvent& event) {
  if (latency_path_.empty() || !IsKeyPress(event) || keys_taken_.empty()) return;
  // The key from when it was taken in, and how long it waited in the queue
  // (a cascade's waits hold keys back).
  const std::int64_t taken = keys_taken_.front();
  keys_taken_.pop_front();
  const std::int64_t queued_ms = (NowNs<std::chrono::steady_clock>() - taken) / 1000000;
  record_.push_back("key " + std::to_string(CodeOf(event.key)) + " " + std::to_string(taken) +
                    " queued-ms " + std::to_string(queued_ms));
}

void HookFiles::Ending() {
  if (latency_path_.empty()) return;
  std::FILE* f = std::fopen(latency_path_.c_str(), "w");
  if (!f) return;
  // The first present on the wall clock, so that a launcher can measure the
  // time from its start of the program; then steady-clock nanoseconds.
  WriteLine(f, "first-present-realtime-ns " + std::to_string(first_present_realtime_ns_));
  for (const std::string& line : record_) WriteLine(f, line);
  std::fclose(f);
  latency_path_.clear();
}

}  // namespace orvo::app
