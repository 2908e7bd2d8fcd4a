// The SDL2 window: event dispatch to the application's handlers, the window's
// picture, and the clock with its sleeping waits.
#include "app/sdl_host.h"

#include <SDL2/SDL_image.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "app/app.h"
#include "app/sdl_embedded.h"
#include "app/sdl_keys.h"
#include "app/sdl_message.h"

namespace orvo::app {

namespace {

// While a cascade sleeps, the desktop's events are taken in this often, so
// that the window is never deemed frozen.
constexpr std::int64_t kPumpInterval = 50;
// The last stretch of a timed sleep is slept in slices this short, so that a
// wake-up is never early and at most a fraction of a millisecond late.
constexpr auto kFineSlice = std::chrono::microseconds(200);
constexpr std::int64_t kFineStretch = 2;
// The window opens at most this share of the usable desktop.
constexpr double kComfortableShare = 0.85;

// The shift state as the key and mouse handlers take it: 1 Shift, 2 Ctrl, 4 Alt.
int ShiftState(Uint16 mod) {
  int shift = 0;
  if (mod & KMOD_SHIFT) shift |= 1;
  if (mod & KMOD_CTRL) shift |= 2;
  if (mod & KMOD_ALT) shift |= 4;
  return shift;
}

std::uint32_t ClockSeed() {
  const auto steady = std::chrono::steady_clock::now().time_since_epoch().count();
  const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
  return static_cast<std::uint32_t>(steady ^ (wall >> 7) ^ (wall << 13));
}

}  // namespace

SdlHost::SdlHost() : random_(ClockSeed()) {}

SdlHost::~SdlHost() {
  CloseWindow();
}

int SdlHost::ChooseScale(const SDL_Rect& usable) {
  const double across = kComfortableShare * usable.w / kClientWidth;
  const double down = kComfortableShare * usable.h / kClientHeight;
  return std::max(1, static_cast<int>(std::min(across, down)));
}

bool SdlHost::OpenWindow(std::string& error) {
  // A cascade refreshes the board many times in a row: presents never wait
  // for the display's vertical blank.
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  // The picture is small and changes in small steps: SDL's software renderer
  // presents it in well under a millisecond without loading a GL driver
  // (which would multiply the program's memory and start-up time). The
  // SDL_RENDER_DRIVER environment variable still picks another.
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // The click that brings the window to the front also counts.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  // An ordinary desktop window: the compositor keeps running, and the screen
  // saver may start (play itself is typing, which keeps it away).
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  // Only video and its events: no joystick or controller polling that would
  // keep waking the process.
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    error = std::string("Cannot open the window: ") + SDL_GetError();
    return false;
  }
  // Without a display SDL falls back to a driver that draws nowhere; the
  // program would then run unseen. Only a caller that asks for such a driver
  // by name (SDL_VIDEODRIVER) gets it. When a display is named but could not
  // be reached, the message says which one.
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  if (IsScreenlessDriver(driver) && !(asked && SDL_strcasecmp(asked, driver) == 0)) {
    const std::string named = DisplayName();
    error = named.empty() ? "Cannot open the window: no display"
                          : "Cannot open the window: cannot connect to the display " + named;
    CloseWindow();
    return false;
  }
  // Without the fonts the window would show no labels and no Start or Exit
  // to click: that is a start-up failure, reported before any window.
  fonts_ = std::make_unique<FontSet>();
  if (!fonts_->Missing().empty()) {
    error = "Cannot show the window's labels: " + fonts_->Missing();
    CloseWindow();
    return false;
  }
  SDL_Rect usable{0, 0, kClientWidth, kClientHeight};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) SDL_GetDisplayBounds(0, &usable);
  const int scale = ChooseScale(usable);
  window_ = SDL_CreateWindow(kWindowCaption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             kClientWidth * scale, kClientHeight * scale,
                             SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (!window_) {
    error = std::string("Cannot open the window: ") + SDL_GetError();
    CloseWindow();
    return false;
  }
  SDL_SetWindowMinimumSize(window_, kClientWidth, kClientHeight);
  if (SDL_RWops* rw = SDL_RWFromConstMem(embedded::kIcon, static_cast<int>(embedded::kIconSize))) {
    if (SDL_Surface* icon = IMG_Load_RW(rw, 1)) {
      SDL_SetWindowIcon(window_, icon);
      SDL_FreeSurface(icon);
    }
  }
  renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (!renderer_) {
    error = std::string("Cannot draw in the window: ") + SDL_GetError();
    CloseWindow();
    return false;
  }
  // The window's picture is drawn at its logical size and scaled by whole
  // multiples with square pixels; the rest of a larger window is a black border.
  SDL_RenderSetLogicalSize(renderer_, kClientWidth, kClientHeight);
  SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
  composer_ = std::make_unique<Composer>(renderer_, *fonts_);
  if (!composer_->SetBackground(embedded::kWindowBack, embedded::kWindowBackSize, error)) {
    CloseWindow();
    return false;
  }
  // Keys only: no text input or input-method windows.
  SDL_StopTextInput();
  return true;
}

void SdlHost::ShowWindow() {
  if (!window_) return;
  SDL_ShowWindow(window_);
  Present(true);
}

void SdlHost::CloseWindow() {
  composer_.reset();
  fonts_.reset();
  if (renderer_) SDL_DestroyRenderer(renderer_);
  renderer_ = nullptr;
  if (window_) SDL_DestroyWindow(window_);
  window_ = nullptr;
  if (SDL_WasInit(0) != 0) {
    IMG_Quit();
    SDL_Quit();
  }
}

void SdlHost::RunEventLoop() {
  for (;;) {
    SDL_Event event;
    if (SDL_WaitEvent(&event) == 0) continue;
    Dispatch(event);
    DrainEvents();
    PresentIfPending();
  }
}

bool SdlHost::DrainEvents() {
  bool any = false;
  SDL_Event event;
  while (SDL_PollEvent(&event) == 1) {
    any = true;
    Dispatch(event);
  }
  return any;
}

void SdlHost::Dispatch(const SDL_Event& event) {
  if (!app_) return;
  switch (event.type) {
    case SDL_QUIT:
      CloseRequested(event.quit.timestamp);
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          CloseRequested(event.window.timestamp);
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED:
          app_->Form_Paint();
          Present(true);
          break;
        default:
          break;
      }
      break;
    case SDL_KEYDOWN: {
      const int code = VirtualKeyFor(event.key.keysym.sym);
      if (code < 0) break;
      if (!event.key.repeat && latency_.Enabled()) {
        latency_.KeyDown(code, static_cast<Uint32>(SDL_GetTicks() - event.key.timestamp));
      }
      app_->Form_KeyDown(code, ShiftState(event.key.keysym.mod));
      break;
    }
    case SDL_KEYUP: {
      const int code = VirtualKeyFor(event.key.keysym.sym);
      if (code >= 0) app_->Form_KeyUp(code, ShiftState(event.key.keysym.mod));
      break;
    }
    case SDL_MOUSEBUTTONDOWN: {
      if (event.button.button != SDL_BUTTON_LEFT || pressed_action_ >= 0) break;
      const int index = ActionAt(event.button.x, event.button.y);
      if (index < 0) break;
      pressed_action_ = index;
      app_->lblAction_MouseDown(index);
      break;
    }
    case SDL_MOUSEBUTTONUP: {
      if (event.button.button != SDL_BUTTON_LEFT || pressed_action_ < 0) break;
      // The caption that took the press gets the release; a click only when
      // the release is over that same caption. The release comes first.
      const int index = pressed_action_;
      pressed_action_ = -1;
      app_->lblAction_MouseUp(index);
      PresentIfPending();
      if (ActionAt(event.button.x, event.button.y) == index) app_->lblAction_Click(index);
      break;
    }
    default:
      break;
  }
}

void SdlHost::CloseRequested(Uint32 queuedAt) {
  // A request queued before the last wait ended should have ended the
  // program in that wait; the record says so, for the end-to-end test.
  latency_.CloseFromEvents(static_cast<std::int64_t>(queuedAt) < last_wait_end_);
  app_->Form_Unload();
}

int SdlHost::ActionAt(int x, int y) {
  if (!composer_ || !app_) return -1;
  const Form& form = app_->Controls();
  const SDL_Point at{x, y};
  for (int index = 0; index < 2; ++index) {
    const game::Control c = index == 0 ? game::Control::lblAction0 : game::Control::lblAction1;
    if (!form[c].Visible) continue;
    const SDL_Rect box = composer_->TextBox(form, c);
    if (SDL_PointInRect(&at, &box)) return index;
  }
  return -1;
}

std::int64_t SdlHost::TickCount() {
  return static_cast<std::int64_t>(SDL_GetTicks64());
}

bool SdlHost::SleepUntil(std::int64_t tick, SDL_Event* event, bool due) {
  // When measuring: the steady clock just before the last tick reading that
  // was still short of `tick`. The tick was reached after it, so a wake-up
  // found by the next reading is at most that much late. After a coarse
  // sleep that ran past the tick the bound says nothing (logged as -1).
  const bool measuring = due && latency_.Enabled();
  std::int64_t shortAt = measuring ? LatencyLog::Now() : 0;
  bool afterCoarse = false;
  for (;;) {
    const std::int64_t before = measuring ? LatencyLog::Now() : 0;
    const std::int64_t remaining = tick - TickCount();
    if (remaining <= 0) {
      if (measuring) latency_.Wake(afterCoarse ? -1 : LatencyLog::Now() - shortAt);
      return false;
    }
    shortAt = before;
    afterCoarse = remaining > kFineStretch;
    if (afterCoarse) {
      // Wake a little early and finish in short slices: never early, and
      // late by a fraction of a millisecond at most. (A tick reading may be
      // up to a millisecond old, so the coarse sleep stops two short.)
      const auto ms = std::min<std::int64_t>(remaining - kFineStretch, 1 << 30);
      if (event) {
        if (SDL_WaitEventTimeout(event, static_cast<int>(ms)) == 1) return true;
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
      }
    } else {
      if (event && SDL_PollEvent(event) == 1) return true;
      std::this_thread::sleep_for(kFineSlice);
    }
  }
}

void SdlHost::WaitUntil(std::int64_t deadline, std::int32_t /*ms*/) {
  for (;;) {
    const std::int64_t now = TickCount();
    if (now >= deadline) {
      last_wait_end_ = now;
      return;
    }
    if (window_ && now - last_pump_ >= kPumpInterval) {
      // Take in the desktop's events without handling them; they wait in
      // the queue until the cascade is over. Only a request to close the
      // window is acted on now: the program ends at once.
      SDL_PumpEvents();
      last_pump_ = now;
      if (app_ && SDL_HasEvent(SDL_QUIT)) {
        latency_.CloseInWait(deadline - now);
        app_->Form_Unload();
      }
    }
    const std::int64_t until = std::min(deadline, last_pump_ + kPumpInterval);
    SleepUntil(until, nullptr, until == deadline);
  }
}

void SdlHost::ProcessEvents(std::int64_t nextDue) {
  last_pump_ = TickCount();
  const bool handled = DrainEvents();
  PresentIfPending();
  // After an event the loop's next turn may have something to do at once.
  if (handled) return;
  SDL_Event event;
  if (SleepUntil(nextDue, &event, true)) {
    Dispatch(event);
    DrainEvents();
    PresentIfPending();
  }
}

float SdlHost::NextRandom() {
  // 24 random bits: every value is exact in a float and below 1.
  return static_cast<float>(random_() >> 8) * (1.0f / 16777216.0f);
}

void SdlHost::ReseedRandom() {
  random_.seed(ClockSeed());
}

void SdlHost::Present(bool uploadFront) {
  if (!renderer_ || !composer_ || !app_) return;
  if (uploadFront) {
    if (const gfx::Surface* front = app_->Surfaces().Get(app_->FrontDC())) {
      composer_->UploadFront(*front);
    }
  }
  composer_->Draw(app_->Controls());
  SDL_RenderPresent(renderer_);
  latency_.Present();
  pending_ = false;
}

void SdlHost::PresentIfPending() {
  if (pending_) Present(false);
}

void SdlHost::RefreshFront() {
  Present(true);
}

void SdlHost::ControlChanged(game::Control /*c*/, ControlChange what) {
  switch (what) {
    case ControlChange::Caption:
      Present(false);  // a caption set refreshes its label at once
      break;
    case ControlChange::Visible:
    case ControlChange::Color:
      pending_ = true;  // shown at the next event processing
      break;
    case ControlChange::Tag:
      break;
  }
}

void SdlHost::EndProgram(int status) {
  latency_.Flush();
  CloseWindow();
  std::exit(status);
}

}  // namespace orvo::app
