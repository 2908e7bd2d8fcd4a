// The desktop window on SDL2: Orvo's platform on Linux desktops. It turns
// SDL's events (the keyboard's, the pointer's, the gamepads', the window's)
// into the shell's input events, presents the shell's frames, keeps the
// clock and sleeps until the next event, renders the labels' text with
// SDL_ttf and shows the fatal message in a message box.
#pragma once

#include <SDL2/SDL.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/platform.h"
#include "app/window_keys.h"
#include "platform/sdl/clock.h"
#include "platform/sdl/gamepads.h"
#include "platform/sdl/label_text.h"
#include "platform/sdl/window.h"

namespace orvo::sdl {

class SdlPlatform : public app::Platform {
 public:
  SdlPlatform() = default;
  ~SdlPlatform() override;
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  // app::Platform.
  std::string ProgramFolder() override;
  std::optional<std::vector<gfx::FolderEntry>> ListFolder(const std::string& folder) const override;
  gfx::FileRead ReadFile(const std::string& path, std::int64_t limit,
                         std::vector<std::uint8_t>& bytes) const override;
  const app::LabelText& Text() override { return text_; }
  // Creates the window, hidden, with its icon and fonts; the background is
  // the picture built into the program.
  bool OpenWindow(gfx::Surface& background, std::string& error) override;
  void PresentFrame(const gfx::Surface& frame) override;
  void ShowFatalMessage(const std::string& title, const std::string& message) override;
  [[noreturn]] void EndProgram(int status) override;
  std::int64_t TickCount() override;
  std::optional<app::InputEvent> WaitForEvent(std::int64_t deadline) override;

  Window& TheWindow() { return window_; }

 private:
  // Appends the input events `event` stands for (events.cpp): none for an
  // event the window handles itself or ignores.
  void Translate(const SDL_Event& event, std::vector<app::InputEvent>& out);
  // Whether a key event is one the window keeps for itself (switching the
  // full screen); false when it goes to the game's key table.
  bool KeptByTheWindow(const SDL_KeyboardEvent& key);
  // Sleeps until SDL has an event or `deadline` (which has not come yet).
  void SleepForEvent(std::int64_t deadline);

  Window window_;
  bool shown_ = false;
  SdlLabelText text_;
  app::WindowKeys window_keys_;
  Gamepads gamepads_;
  // Input events translated but not yet handed out, from
  // `pending_[next_pending_]` on: one SDL event may stand for several.
  std::vector<app::InputEvent> pending_;
  std::size_t next_pending_ = 0;
};

}  // namespace orvo::sdl
