#include "tools/replay/replay_platform.h"

#include "app/app.h"
#include "platform/desktop/library_codecs.h"
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
  clock_ = tick;
}

void ReplayPlatform::WaitUntil(std::int64_t deadline, std::int32_t ms) {
  if (trace_ != TraceMode::Off) out_.Line(TraceWait(clock_, ms));
  // The wait is over at once: the clock jumps to its end.
  if (ms > 0 && deadline > clock_) SetClock(deadline);
}

void ReplayPlatform::ProcessEvents(std::int64_t nextDue) {
  if (pump_ != nullptr) {
    pump_->ProcessEvents(nextDue);
  } else {
    SetClock(clock_ + 1);  // no scenario: a loop turn still takes its millisecond
  }
}

void ReplayPlatform::StartClickIgnored() {
  throw ReplayError("Start click ignored: " + std::to_string(app::kMaxNestedGameLoops) +
                    " game loops already run one inside the other");
}

void ReplayPlatform::RefreshFront() {
  if (trace_ == TraceMode::Off) return;
  const gfx::Surface* board = trace_ == TraceMode::Frames && board_ ? board_() : nullptr;
  out_.Line(board != nullptr ? TraceRefresh(clock_, BoardDigest(*board)) : TraceRefresh(clock_));
}

const gfx::PictureDecoder& ReplayPlatform::Pictures() {
  static const desktop::LibraryPictureDecoder kDecoder;
  return kDecoder;
}

void ReplayPlatform::ControlChanged(game::Control c, game::ControlChange what,
                                    const game::LabelState& label) {
  if (trace_ == TraceMode::Off) return;
  std::string_view name = game::ControlName(c);
  switch (what) {
    case game::ControlChange::Caption:
      out_.Line(TraceText(clock_, name, label.Caption));
      break;
    case game::ControlChange::Tag:
      out_.Line(TraceTag(clock_, name, label.Tag));
      break;
    case game::ControlChange::Visible:
      out_.Line(TraceShow(clock_, name, label.Visible));
      break;
    case game::ControlChange::Color:
      out_.Line(TraceColor(clock_, name, label.TextColor));
      break;
  }
}

}  // namespace orvo::replay
