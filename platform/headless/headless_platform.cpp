#include "platform/headless/headless_platform.h"

#include <cstdio>

namespace orvo::headless {

gfx::AlphaMask FixedCellText::Render(app::FontFace /*face*/, const std::string& utf8) const {
  // Each character is one lead byte and its continuation bytes.
  int characters = 0;
  for (const char byte : utf8) {
    if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) ++characters;
  }
  if (characters == 0) return {};
  return gfx::AlphaMask(characters * kCellWidth, kCellHeight);
}

bool HeadlessPlatform::OpenWindow(gfx::Surface& /*background*/, std::string& /*error*/) {
  return true;
}

void HeadlessPlatform::ShowFatalMessage(const std::string& title, const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", title.c_str(), message.c_str());
  std::fflush(stderr);
}

void HeadlessPlatform::EndProgram(int status) {
  throw ProgramEnd{status};
}

std::optional<app::InputEvent> HeadlessPlatform::WaitForEvent(std::int64_t deadline) {
  if (!events_.empty()) {
    const app::InputEvent event = events_.front();
    events_.pop_front();
    return event;
  }
  if (deadline != app::kNothingDue && deadline > clock_) SetClock(deadline);
  return std::nullopt;
}

}  // namespace orvo::headless
