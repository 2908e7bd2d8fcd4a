#include "platform/sdl/sdl_platform.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "platform/desktop/library_codecs.h"

namespace orvo::sdl {

namespace {

// While a cascade sleeps, the desktop's events are taken in this often, so
// that the window is never deemed frozen.
constexpr std::int64_t kPumpInterval = 50;

std::uint32_t ClockSeed() {
  const auto steady = std::chrono::steady_clock::now().time_since_epoch().count();
  const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
  return static_cast<std::uint32_t>(steady ^ (wall >> 7) ^ (wall << 13));
}

}  // namespace

SdlPlatform::SdlPlatform() : clock_(record_.MakeClock()), random_(ClockSeed()) {}

SdlPlatform::~SdlPlatform() {
  window_.Close();
}

bool SdlPlatform::OpenWindow(std::string& error) {
  return window_.Open(error);
}

void SdlPlatform::ShowWindow() {
  if (!app_ || !window_.IsOpen()) return;
  window_.Show(app_->View());
  record_.Present();
}

void SdlPlatform::RunEventLoop() {
  for (;;) {
    SDL_Event event;
    if (SDL_WaitEvent(&event) == 0) continue;
    Dispatch(event);
    DrainEvents();
    PresentIfPending();
  }
}

bool SdlPlatform::DrainEvents() {
  bool any = false;
  SDL_Event event;
  while (SDL_PollEvent(&event) == 1) {
    any = true;
    Dispatch(event);
  }
  return any;
}

void SdlPlatform::CloseRequested(std::uint32_t queuedAt) {
  // A request queued before the last wait ended should have ended the
  // program in that wait; the record says so, for the end-to-end test.
  record_.CloseFromEvents(static_cast<std::int64_t>(queuedAt) < last_wait_end_);
  app_->Form_Unload();
}

std::int64_t SdlPlatform::TickCount() {
  return clock_->TickCount();
}

void SdlPlatform::WaitUntil(std::int64_t deadline, std::int32_t /*ms*/) {
  for (;;) {
    const std::int64_t now = TickCount();
    if (now >= deadline) {
      last_wait_end_ = now;
      return;
    }
    if (window_.IsOpen() && now - last_pump_ >= kPumpInterval) {
      // Take in the desktop's events without handling them; they wait in
      // the queue until the cascade is over. Only a request to close the
      // window is acted on now: the program ends at once.
      SDL_PumpEvents();
      last_pump_ = now;
      if (app_ && SDL_HasEvent(SDL_QUIT)) {
        record_.CloseInWait(deadline - now);
        app_->Form_Unload();
      }
    }
    const std::int64_t until = std::min(deadline, last_pump_ + kPumpInterval);
    clock_->SleepUntil(until, nullptr, until == deadline);
  }
}

void SdlPlatform::ProcessEvents(std::int64_t nextDue) {
  last_pump_ = TickCount();
  const bool handled = DrainEvents();
  PresentIfPending();
  // After an event the loop's next turn may have something to do at once.
  if (handled) return;
  SDL_Event event;
  if (clock_->SleepUntil(nextDue, &event, true)) {
    Dispatch(event);
    DrainEvents();
    PresentIfPending();
  }
}

float SdlPlatform::NextRandom() {
  return random_.Next();
}

void SdlPlatform::ReseedRandom() {
  random_.Seed(ClockSeed());
}

const gfx::PictureDecoder& SdlPlatform::Pictures() {
  static const desktop::LibraryPictureDecoder kDecoder;
  return kDecoder;
}

void SdlPlatform::Present(bool uploadFront) {
  if (!app_ || !window_.IsOpen()) return;
  window_.Present(app_->View(), uploadFront);
  record_.Present();
  pending_ = false;
}

void SdlPlatform::PresentIfPending() {
  if (pending_) Present(false);
}

void SdlPlatform::RefreshFront() {
  Present(true);
}

void SdlPlatform::ControlChanged(game::Control /*c*/, game::ControlChange what,
                                 const game::LabelState& /*label*/) {
  switch (app::RefreshFor(what)) {
    case app::LabelRefresh::Now:
      Present(false);
      break;
    case app::LabelRefresh::AtNextEvents:
      pending_ = true;
      break;
    case app::LabelRefresh::Never:
      break;
  }
}

void SdlPlatform::EndProgram(int status) {
  record_.Flush();
  window_.Close();
  std::exit(status);
}

}  // namespace orvo::sdl
