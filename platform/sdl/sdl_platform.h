// The desktop window on SDL2: Orvo's platform on Linux desktops. It turns
// SDL's events (the keyboard's, the pointer's, the gamepads') into the
// shell's input events, presents the shell's frames, keeps the clock and its
// sleeping waits, renders the labels' text with SDL_ttf and shows the fatal
// message in a message box.
#pragma once

#include <SDL2/SDL.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/platform.h"
#include "game/random_generator.h"
#include "platform/sdl/clock.h"
#include "platform/sdl/gamepads.h"
#include "platform/sdl/label_text.h"
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

  // app::Platform.
  std::string ProgramFolder() override;
  // Creates the window, hidden, with its icon and fonts; the background is
  // the picture built into the program.
  bool OpenWindow(gfx::Surface& background, std::string& error) override;
  void ShowWindow(const gfx::Surface& frame) override;
  void ShowFatalMessage(const std::string& title, const std::string& message) override;
  [[noreturn]] void EndProgram(int status) override;
  void PresentFrame(const gfx::Surface& frame) override;
  const app::LabelText& Text() override { return text_; }
  const gfx::PictureDecoder& Pictures() override;
  std::int64_t TickCount() override;
  bool WaitUntil(std::int64_t deadline) override;
  bool PollEvent(app::InputEvent& event) override;
  void SleepUntilEvent(std::int64_t deadline) override;
  float NextRandom() override;
  void ReseedRandom() override;

  Window& TheWindow() { return window_; }

 private:
  // Appends the input events `event` stands for (events.cpp): none for an
  // event the window handles itself or ignores, several for some of a
  // gamepad's.
  void Translate(const SDL_Event& event, std::vector<app::InputEvent>& out);
  // Whether a key event is one the window keeps for itself (switching the
  // full screen); false when it goes to the game's key table.
  bool KeptByTheWindow(const SDL_KeyboardEvent& key);
  // A request to close the window, queued by SDL at `queuedAt` (its tick
  // count), is handed to the shell: the record notes whether it came late.
  void NoteClose(std::uint32_t queuedAt);

  LatencyRecord record_;
  std::unique_ptr<Clock> clock_;
  Window window_;
  SdlLabelText text_;
  WindowKeys window_keys_;
  Gamepads gamepads_;
  game::RandomGenerator random_;
  std::int64_t last_pump_ = 0;      // when the desktop's events were last taken in
  std::int64_t last_wait_end_ = 0;  // when the last wait of a cascade ended
  // Input events translated but not yet taken by PollEvent, from
  // `pending_[next_pending_]` on: one SDL event may stand for several.
  std::vector<app::InputEvent> pending_;
  std::size_t next_pending_ = 0;
};

}  // namespace orvo::sdl
