// The desktop window on SDL2: the application's platform. It hands the
// window's events to the application's handlers, shows what the
// application's view holds, and keeps the clock and its sleeping waits.
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>
#include <memory>
#include <string>

#include "app/app.h"
#include "app/platform.h"
#include "game/random_generator.h"
#include "platform/sdl/clock.h"
#include "platform/sdl/latency_record.h"
#include "platform/sdl/window.h"
#include "platform/sdl/window_keys.h"

namespace orvo::sdl {

class SdlPlatform : public app::Platform {
 public:
  SdlPlatform();
  ~SdlPlatform() override;
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  // The application whose handlers the window's events go to.
  void Attach(app::App& app) { app_ = &app; }

  // Creates the window, hidden, with its background, icon and fonts. False
  // with `error` set when it cannot.
  bool OpenWindow(std::string& error);
  void ShowWindow();
  // The idle state: waits for events and hands them out, for as long as the
  // program runs (a handler ends it).
  [[noreturn]] void RunEventLoop();
  // Hands one event to the application (event_dispatch.cpp).
  void Dispatch(const SDL_Event& event);

  // game::GameServices.
  std::int64_t TickCount() override;
  float NextRandom() override;
  void ReseedRandom() override;
  void RefreshFront() override;
  void ControlChanged(game::Control c, game::ControlChange what,
                      const game::LabelState& label) override;
  // app::Platform.
  void WaitUntil(std::int64_t deadline, std::int32_t ms) override;
  void ProcessEvents(std::int64_t nextDue) override;
  const gfx::PictureDecoder& Pictures() override;
  [[noreturn]] void EndProgram(int status) override;

  Window& TheWindow() { return window_; }

 private:
  // Whether a key event is one the window keeps for itself (switching the
  // full screen); false when it goes to the game's key table.
  bool KeptByTheWindow(const SDL_KeyboardEvent& key);
  // Handles every queued event; true when there was at least one.
  bool DrainEvents();
  // Composes the window and shows it now.
  void Present(bool uploadFront);
  void PresentIfPending();
  // The window was asked to close: the program ends. `queuedAt`: when SDL
  // took in the request (its tick count).
  [[noreturn]] void CloseRequested(std::uint32_t queuedAt);

  app::App* app_ = nullptr;
  LatencyRecord record_;
  std::unique_ptr<Clock> clock_;
  Window window_;
  WindowKeys window_keys_;
  game::RandomGenerator random_;
  bool pending_ = false;  // a change that the next event processing shows
  int pressed_action_ = -1;
  std::int64_t last_pump_ = 0;      // when the desktop's events were last taken in
  std::int64_t last_wait_end_ = 0;  // when the last wait of a cascade ended
};

}  // namespace orvo::sdl
