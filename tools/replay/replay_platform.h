// The replay runner's platform: the game runs headless on a virtual clock
// that moves only when the game waits or lets the window process its events,
// and those events come from the scenario.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "app/platform.h"
#include "gfx/surface.h"
#include "tools/replay/command.h"
#include "tools/replay/line_writer.h"
#include "tools/replay/random_source.h"
#include "tools/replay/replay_error.h"

namespace orvo::replay {

// The clock when the program starts (start-up runs at this tick).
inline constexpr std::int64_t kStartTick = 1000;

// The failure of a clock move past kMaxTime: "clock out of range (0 to
// 9007199254740991): TICK".
std::string ClockOutOfRange(std::int64_t tick);

// Whoever handles the window's event processing: the scenario engine.
class EventPump {
 public:
  virtual ~EventPump() = default;
  // `nextDue` as the game loop passes it to Platform::ProcessEvents.
  virtual void ProcessEvents(std::int64_t nextDue) = 0;
};

class ReplayPlatform : public app::Platform {
 public:
  explicit ReplayPlatform(LineWriter& out) : out_(out) {}

  void SetEventPump(EventPump* pump) { pump_ = pump; }

  std::int64_t Clock() const { return clock_; }
  // Moves the clock; a tick past kMaxTime fails the replay (ReplayError) and
  // leaves the clock as it was.
  void SetClock(std::int64_t tick);
  RandomSource& Random() { return random_; }
  const RandomSource& Random() const { return random_; }
  void SetTrace(TraceMode mode) { trace_ = mode; }
  // Where `trace frames` finds the board surface at a refresh (the App's
  // View().Board; null before start-up has made it).
  void SetBoardSource(std::function<const gfx::Surface*()> board) { board_ = std::move(board); }
  LineWriter& Output() { return out_; }

  // game::GameServices.
  std::int64_t TickCount() override { return clock_; }
  float NextRandom() override { return random_.Next(); }
  // A new game's reseeding changes neither the queue nor the generator.
  void ReseedRandom() override {}
  void RefreshFront() override;
  void ControlChanged(game::Control c, game::ControlChange what,
                      const game::LabelState& label) override;
  // app::Platform.
  void WaitUntil(std::int64_t deadline, std::int32_t ms) override;
  // Every loop turn takes 1 ms; the scenario engine skips the idle turns
  // before `nextDue`.
  void ProcessEvents(std::int64_t nextDue) override;
  // The desktop's decoder, as the game's.
  const gfx::PictureDecoder& Pictures() override;
  [[noreturn]] void EndProgram(int status) override { throw ProgramEnd{status}; }
  // The window would ignore the click; a replay that reaches the bound of
  // nested games fails instead, so that the scenario's author learns of it.
  [[noreturn]] void StartClickIgnored() override;

 private:
  LineWriter& out_;
  EventPump* pump_ = nullptr;
  RandomSource random_;
  std::int64_t clock_ = kStartTick;
  TraceMode trace_ = TraceMode::Off;
  std::function<const gfx::Surface*()> board_;
};

}  // namespace orvo::replay
