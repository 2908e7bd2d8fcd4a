#include "tools/replay/replay_host.h"

#include "app/app.h"
#include "tools/replay/trace_lines.h"

namespace orvo::replay {

std::string ClockOutOfRange(std::int64_t tick) {
  return "clock out of range (0 to " + std::to_string(kMaxTime) + "): " + std::to_string(tick);
}

void ReplayHost::SetClock(std::int64_t tick) {
  // Times stay within kMaxTime, so that the game's sums of a time and an
  // interval cannot overflow.
  if (tick > kMaxTime) throw ReplayError(ClockOutOfRange(tick));
  clock_ = tick;
}

void ReplayHost::WaitUntil(std::int64_t deadline, std::int32_t ms) {
  if (trace_) out_.Line(TraceWait(clock_, ms));
  // The wait is over at once: the clock jumps to its end.
  if (ms > 0 && deadline > clock_) SetClock(deadline);
}

void ReplayHost::ProcessEvents(std::int64_t nextDue) {
  if (pump_ != nullptr) {
    pump_->ProcessEvents(nextDue);
  } else {
    SetClock(clock_ + 1);  // no scenario: a loop turn still takes its millisecond
  }
}

void ReplayHost::StartClickIgnored() {
  throw ReplayError("Start click ignored: " + std::to_string(app::kMaxNestedGameLoops) +
                    " game loops already run one inside the other");
}

void ReplayHost::RefreshFront() {
  if (trace_) out_.Line(TraceRefresh(clock_));
}

void ReplayHost::ControlChanged(game::Control c, app::ControlChange what) {
  if (!trace_ || form_ == nullptr) return;
  const app::ControlData& d = (*form_)[c];
  std::string_view name = game::ControlName(c);
  switch (what) {
    case app::ControlChange::Caption:
      out_.Line(TraceText(clock_, name, d.Caption));
      break;
    case app::ControlChange::Tag:
      out_.Line(TraceTag(clock_, name, d.Tag));
      break;
    case app::ControlChange::Visible:
      out_.Line(TraceShow(clock_, name, d.Visible));
      break;
    case app::ControlChange::Color:
      out_.Line(TraceColor(clock_, name, d.TextColor));
      break;
  }
}

}  // namespace orvo::replay
