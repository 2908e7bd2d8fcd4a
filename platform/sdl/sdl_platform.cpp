#include "platform/sdl/sdl_platform.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "platform/linux/library_codecs.h"
#include "platform/linux/program_folder.h"
#include "platform/sdl/embedded.h"
#include "platform/sdl/message_box.h"

namespace orvo::sdl {

namespace {

// While a cascade sleeps, the desktop's events are taken in this often, so
// that the window is never deemed frozen.
constexpr std::int64_t kPumpInterval = 50;
// While a pad is open and the game waits for input, SDL is asked for events
// this often (in milliseconds).
constexpr std::int64_t kPadLookInterval = 5;

std::uint32_t ClockSeed() {
  const auto steady = std::chrono::steady_clock::now().time_since_epoch().count();
  const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
  return static_cast<std::uint32_t>(steady ^ (wall >> 7) ^ (wall << 13));
}

}  // namespace

SdlPlatform::SdlPlatform() : clock_(record_.MakeClock()), random_(ClockSeed()) {}

SdlPlatform::~SdlPlatform() {
  text_.SetFonts(nullptr);
  gamepads_.CloseAll();
  window_.Close();
}

std::string SdlPlatform::ProgramFolder() {
  return linux_shared::ProgramFolder();
}

bool SdlPlatform::OpenWindow(gfx::Surface& background, std::string& error) {
  std::string reason;
  const std::span<const std::uint8_t> bytes(embedded::kWindowBack, embedded::kWindowBackSize);
  std::optional<gfx::Surface> picture = Pictures().Decode(bytes, reason);
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

void SdlPlatform::ShowWindow(const gfx::Surface& frame) {
  if (!window_.IsOpen()) return;
  window_.Show(frame);
  record_.Present();
}

void SdlPlatform::ShowFatalMessage(const std::string& title, const std::string& message) {
  ShowErrorBox(title, message);
}

void SdlPlatform::PresentFrame(const gfx::Surface& frame) {
  if (!window_.IsOpen()) return;
  window_.Present(frame);
  record_.Present();
}

std::int64_t SdlPlatform::TickCount() {
  return clock_->TickCount();
}

bool SdlPlatform::WaitUntil(std::int64_t deadline) {
  for (;;) {
    const std::int64_t now = TickCount();
    if (now >= deadline) {
      last_wait_end_ = now;
      return true;
    }
    if (window_.IsOpen() && now - last_pump_ >= kPumpInterval) {
      // Take in the desktop's events without handling them; they wait in
      // the queue until the cascade is over. Only a request to close the
      // window is acted on now: the program ends at once.
      SDL_PumpEvents();
      last_pump_ = now;
      if (SDL_HasEvent(SDL_QUIT)) {
        record_.CloseInWait(deadline - now);
        return false;
      }
    }
    const std::int64_t until = std::min(deadline, last_pump_ + kPumpInterval);
    clock_->SleepUntil(until, false, until == deadline);
  }
}

bool SdlPlatform::PollEvent(app::InputEvent& event) {
  last_pump_ = TickCount();
  // The events of one SDL event are taken in order before the next SDL
  // event is translated.
  while (next_pending_ == pending_.size()) {
    pending_.clear();
    next_pending_ = 0;
    SDL_Event sdl;
    if (SDL_PollEvent(&sdl) != 1) return false;
    Translate(sdl, pending_);
  }
  event = pending_[next_pending_++];
  return true;
}

void SdlPlatform::SleepUntilEvent(std::int64_t deadline) {
  if (next_pending_ < pending_.size()) return;
  if (gamepads_.Count() > 0) {
    // With a pad open SDL's own waits look for events every millisecond,
    // which keeps several per cent of a core busy while the game waits.
    // Looking every few milliseconds costs a fraction of that, and a press
    // is still taken long before the next frame.
    for (;;) {
      if (SDL_PollEvent(nullptr) == 1) return;
      const std::int64_t now = TickCount();
      if (now >= deadline) return;
      if (deadline - now > kPadLookInterval) {
        // Only the wake-up at the deadline needs to be exact.
        SDL_Delay(static_cast<Uint32>(kPadLookInterval));
      } else {
        clock_->SleepUntil(deadline, false, true);
      }
    }
  }
  if (deadline == app::kNothingDue) {
    // With no joystick connected SDL sleeps on the display's connection,
    // waking every 3 s to look for a pad plugged in; with one connected it
    // polls every millisecond.
    SDL_WaitEvent(nullptr);
    return;
  }
  clock_->SleepUntil(deadline, true, true);
}

float SdlPlatform::NextRandom() {
  return random_.Next();
}

void SdlPlatform::ReseedRandom() {
  random_.Seed(ClockSeed());
}

const gfx::PictureDecoder& SdlPlatform::Pictures() {
  static const linux_shared::LibraryPictureDecoder kDecoder;
  return kDecoder;
}

void SdlPlatform::EndProgram(int status) {
  record_.Flush();
  text_.SetFonts(nullptr);
  gamepads_.CloseAll();
  window_.Close();
  std::exit(status);
}

}  // namespace orvo::sdl
