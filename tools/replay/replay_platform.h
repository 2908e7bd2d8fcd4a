// The replay runner's platform: the headless platform whose event
// processing is the scenario's (events and commands at their ticks), whose
// random numbers come from the scenario, and which traces what the game
// asks of the window.
#pragma once

#include <cstdint>
#include <string>

#include "app/shell.h"
#include "platform/headless/headless_platform.h"
#include "platform/posix/posix_files.h"
#include "tools/replay/command.h"
#include "tools/replay/line_writer.h"
#include "tools/replay/random_source.h"
#include "tools/replay/replay_error.h"

namespace orvo::replay {

// The clock when the program starts (start-up runs at this tick).
inline constexpr std::int64_t kStartTick = headless::HeadlessPlatform::kStartTick;

// The failure of a clock move past kMaxTime: "clock out of range (0 to
// 9007199254740991): TICK".
std::string ClockOutOfRange(std::int64_t tick);

// The replay's platform is the shell's observer too (the trace), and the
// source of its random numbers (the scenario's).
class ReplayPlatform : public headless::HeadlessPlatform,
                       public app::ShellObserver,
                       public app::RandomNumbers {
 public:
  // The program's files are the system's.
  explicit ReplayPlatform(LineWriter& out) : HeadlessPlatform(kFiles), out_(out) {}

  // Moves the clock; a tick past kMaxTime fails the replay (ReplayError) and
  // leaves the clock as it was.
  void SetClock(std::int64_t tick) override;
  RandomSource& Random() { return random_; }
  const RandomSource& Random() const { return random_; }
  void SetTrace(TraceMode mode) { trace_ = mode; }
  LineWriter& Output() { return out_; }

  // app::RandomNumbers.
  float Next() override { return random_.Next(); }

  // app::Platform.
  // A start-up failure fails the replay, reported at line 0.
  void ShowFatalMessage(const std::string& title, const std::string& message) override;

  // app::ShellObserver: the trace.
  void Waiting(std::int32_t ms) override;
  void Refreshed(const gfx::Surface& board) override;
  void LabelSet(game::Control c, game::ControlChange what, const game::LabelState& label) override;
  // The window would ignore the click; a replay that reaches the bound of
  // nested games fails instead, so that the scenario's author learns of it.
  void StartClickIgnored() override;

 private:
  static inline const posix::PosixFiles kFiles;
  LineWriter& out_;
  RandomSource random_;
  TraceMode trace_ = TraceMode::Off;
};

}  // namespace orvo::replay
