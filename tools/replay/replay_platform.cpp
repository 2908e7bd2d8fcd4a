#include "tools/replay/replay_platform.h"

#include "app/app.h"
#include "tools/replay/board_digest.h"
#include "tools/replay/trace_lines.h"

namespace orvo::replay {

std::string ClockOutOfRange(std::int64_t tick) {
  return "clock out of range (0 to " + std::to_string(kMaxTime) + "): " + std::to_string(tick);
}

void ReplayPlatform::SetClock(std::int64_t tick) {
  // Times stay within kMaxTime, so that the game's sums of a time and an
  // interval cannot overflow.
  if (tick > kMaxTime) throw ReplayError(ClockOutOfRange(tick));
  HeadlessPlatform::SetClock(tick);
}

void ReplayPlatform::ShowFatalMessage(const std::string& /*title*/, const std::string& message) {
  throw ReplayError(message, 0);
}

void ReplayPlatform::StartClickIgnored() {
  throw ReplayError("Start click ignored: " + std::to_string(app::kMaxNestedGameLoops) +
                    " game loops already run one inside the other");
}

void ReplayPlatform::Waiting(std::int32_t ms) {
  if (trace_ != TraceMode::Off) out_.Line(TraceWait(Clock(), ms));
}

void ReplayPlatform::Refreshed(const gfx::Surface& board) {
  if (trace_ == TraceMode::Off) return;
  out_.Line(trace_ == TraceMode::Frames ? TraceRefresh(Clock(), BoardDigest(board))
                                        : TraceRefresh(Clock()));
}

void ReplayPlatform::LabelSet(game::Control c, game::ControlChange what,
                              const game::LabelState& label) {
  if (trace_ == TraceMode::Off) return;
  std::string_view name = game::ControlName(c);
  switch (what) {
    case game::ControlChange::Caption:
      out_.Line(TraceText(Clock(), name, label.Caption));
      break;
    case game::ControlChange::Tag:
      out_.Line(TraceTag(Clock(), name, label.Tag));
      break;
    case game::ControlChange::Visible:
      out_.Line(TraceShow(Clock(), name, label.Visible));
      break;
    case game::ControlChange::Color:
      out_.Line(TraceColor(Clock(), name, label.TextColor));
      break;
  }
}

}  // namespace orvo::replay
