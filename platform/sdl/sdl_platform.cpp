#include "platform/sdl/sdl_platform.h"

#include <algorithm>
#include <cstdlib>

#include "gfx/library_codecs.h"
#include "platform/linux/program_folder.h"
#include "platform/posix/posix_files.h"
#include "platform/sdl/embedded.h"
#include "platform/sdl/message_box.h"

namespace orvo::sdl {

namespace {

// While a pad is open and the game waits for input, SDL is asked for events
// this often (in milliseconds).
constexpr std::int64_t kPadLookInterval = 5;

}  // namespace

SdlPlatform::~SdlPlatform() {
  text_.SetFonts(nullptr);
  gamepads_.CloseAll();
  window_.Close();
}

std::string SdlPlatform::ProgramFolder() {
  return linux_shared::ProgramFolder();
}

std::optional<std::vector<gfx::FolderEntry>> SdlPlatform::ListFolder(
    const std::string& folder) const {
  return posix::ListFolder(folder);
}

gfx::FileRead SdlPlatform::ReadFile(const std::string& path, std::int64_t limit,
                                    std::vector<std::uint8_t>& bytes) const {
  return posix::ReadFile(path, limit, bytes);
}

bool SdlPlatform::OpenWindow(gfx::Surface& background, std::string& error) {
  std::string reason;
  const std::span<const std::uint8_t> bytes(embedded::kWindowBack, embedded::kWindowBackSize);
  std::optional<gfx::Surface> picture = gfx::LibraryDecoder().Decode(bytes, reason);
  if (!picture) {
    error = "Cannot decode the window's background picture: " + reason;
    return false;
  }
  if (!window_.Open(error)) return false;
  // Without gamepads the keyboard still plays: no reason to stop.
  gamepads_.Start();
  background = std::move(*picture);
  text_.SetFonts(window_.Fonts());
  return true;
}

void SdlPlatform::PresentFrame(const gfx::Surface& frame) {
  if (!window_.IsOpen()) return;
  if (!shown_) {
    shown_ = true;
    window_.Show(frame);
  } else {
    window_.Present(frame);
  }
}

void SdlPlatform::ShowFatalMessage(const std::string& title, const std::string& message) {
  ShowErrorBox(title, message);
}

std::int64_t SdlPlatform::TickCount() {
  return sdl::TickCount();
}

std::optional<app::InputEvent> SdlPlatform::WaitForEvent(std::int64_t deadline) {
  for (;;) {
    // The events of one SDL event are handed out in order before the next
    // SDL event is translated.
    if (next_pending_ < pending_.size()) return pending_[next_pending_++];
    pending_.clear();
    next_pending_ = 0;
    SDL_Event sdl;
    if (SDL_PollEvent(&sdl) == 1) {
      Translate(sdl, pending_);
      continue;
    }
    if (deadline <= TickCount()) return std::nullopt;
    SleepForEvent(deadline);
  }
}

void SdlPlatform::SleepForEvent(std::int64_t deadline) {
  if (gamepads_.Count() > 0) {
    // With a pad open SDL's own waits look for events every millisecond,
    // which keeps several per cent of a core busy while the game waits.
    // Looking every few milliseconds costs a fraction of that, and a press
    // is still taken long before the next frame; only the wake-up at the
    // deadline needs to be exact.
    const std::int64_t left = deadline - TickCount();
    if (left > kPadLookInterval) {
      SDL_Delay(static_cast<Uint32>(kPadLookInterval));
    } else {
      SleepUntil(deadline, false);
    }
    return;
  }
  if (deadline == app::kNothingDue) {
    // With no joystick connected SDL sleeps on the display's connection,
    // waking every 3 s to look for a pad plugged in.
    SDL_WaitEvent(nullptr);
    return;
  }
  SleepUntil(deadline, true);
}

void SdlPlatform::EndProgram(int status) {
  text_.SetFonts(nullptr);
  gamepads_.CloseAll();
  window_.Close();
  std::exit(status);
}

}  // namespace orvo::sdl
