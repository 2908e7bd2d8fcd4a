// The real window: an SDL2 host for the application.
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "app/host.h"
#include "app/sdl_compose.h"
#include "app/sdl_fonts.h"
#include "app/sdl_latency_log.h"

namespace orvo::app {

class SdlHost : public Host {
 public:
  SdlHost();
  ~SdlHost() override;
  SdlHost(const SdlHost&) = delete;
  SdlHost& operator=(const SdlHost&) = delete;

  // The application whose handlers the window's events go to.
  void Attach(App& app) { app_ = &app; }

  // Creates the window, hidden, with its background, icon and fonts, and
  // composes its first picture. False with `error` set when it cannot.
  bool OpenWindow(std::string& error);
  void ShowWindow();
  // The idle state: waits for events and hands them out, for as long as the
  // program runs (a handler ends it).
  [[noreturn]] void RunEventLoop();
  // Hands one event to the application.
  void Dispatch(const SDL_Event& event);

  // Host.
  std::int64_t TickCount() override;
  void WaitUntil(std::int64_t deadline, std::int32_t ms) override;
  void ProcessEvents(std::int64_t nextDue) override;
  float NextRandom() override;
  void ReseedRandom() override;
  void RefreshFront() override;
  void ControlChanged(game::Control c, ControlChange what) override;
  [[noreturn]] void EndProgram(int status) override;

  // The window's scale: the largest whole multiple of its logical size that
  // fits comfortably in `usable`, at least 1.
  static int ChooseScale(const SDL_Rect& usable);

  SDL_Window* Window() const { return window_; }
  SDL_Renderer* Renderer() const { return renderer_; }
  Composer* Composition() const { return composer_.get(); }
  // The index of the lblAction caption whose text lies under (x, y) in window
  // coordinates, or -1.
  int ActionAt(int x, int y);

 private:
  // Handles every queued event; true when there was at least one.
  bool DrainEvents();
  // Sleeps until TickCount() reaches `tick`. With `event`, an arriving window
  // event ends the sleep early: it is stored there and true is returned.
  // `due` marks a wake-up that the game waits for (measured when logging).
  bool SleepUntil(std::int64_t tick, SDL_Event* event, bool due);
  // Composes the window and shows it now.
  void Present(bool uploadFront);
  void PresentIfPending();
  void CloseWindow();
  // The window was asked to close: the program ends. `queuedAt`: when SDL
  // took in the request (its tick count).
  [[noreturn]] void CloseRequested(Uint32 queuedAt);

  App* app_ = nullptr;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  std::unique_ptr<FontSet> fonts_;
  std::unique_ptr<Composer> composer_;
  bool pending_ = false;  // a change that the next event processing shows
  int pressed_action_ = -1;
  std::int64_t last_pump_ = 0;      // when the desktop's events were last taken in
  std::int64_t last_wait_end_ = 0;  // when the last wait of a cascade ended
  std::mt19937 random_;
  LatencyLog latency_;
};

}  // namespace orvo::app
