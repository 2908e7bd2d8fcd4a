// The native Windows window: Orvo's platform on Windows. Input comes from
// the thread's message queue, turned into the shell's input events; frames
// are shown with StretchDIBits at a whole-multiple scale; waits sleep in
// MsgWaitForMultipleObjectsEx until their time or the next message; labels
// are drawn from the glyph atlas made at build time (as on the web page, so
// that the window looks as on Linux); pictures are decoded by WIC.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/glyph_atlas.h"
#include "app/platform.h"
#include "game/random_generator.h"
#include "platform/win32/wic_picture_decoder.h"
#include "platform/win32/window_keys.h"
#include "platform/win32/window_layout.h"

namespace orvo::win32 {

class Win32Platform : public app::Platform {
 public:
  // `seed`: a fixed seed of the random source, for the tests' own build of
  // the program; a new game then does not reseed.
  explicit Win32Platform(std::optional<std::uint32_t> seed = std::nullopt);
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  // app::Platform.
  std::string ProgramFolder() override;
  char FolderSeparator() const override { return '\\'; }
  // Lists the folder with FindFirstFileExW: hidden and system files (such
  // as desktop.ini and Thumbs.db) and folders do not count. Windows' file
  // systems match names without regard to case themselves.
  bool HoldsOrdinaryFile(const std::string& folder) override;
  // Creates the window, hidden; the background and the glyphs are resources
  // of the program.
  bool OpenWindow(gfx::Surface& background, std::string& error) override;
  void ShowWindow(const gfx::Surface& frame) override;
  void ShowFatalMessage(const std::string& title, const std::string& message) override;
  [[noreturn]] void EndProgram(int status) override;
  void PresentFrame(const gfx::Surface& frame) override;
  const app::LabelText& Text() override { return glyphs_; }
  const gfx::PictureDecoder& Pictures() override { return decoder_; }
  std::int64_t TickCount() override;
  bool WaitUntil(std::int64_t deadline) override;
  bool PollEvent(app::InputEvent& event) override;
  void SleepUntilEvent(std::int64_t deadline) override;
  float NextRandom() override { return random_.Next(); }
  void ReseedRandom() override;

  // The window, once open (for the tests).
  HWND Window() const { return window_; }
  bool Fullscreen() const { return fullscreen_; }
  void ToggleFullscreen();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT Handle(UINT message, WPARAM w, LPARAM l);
  void Key(int key, bool down, bool alt);
  void Pointer(app::InputEvent::Kind kind, LPARAM l);
  // Dispatches every message waiting in the thread's queue.
  void Pump();
  // Sleeps until a message arrives or `deadline` (kNothingDue: none).
  void SleepForMessage(std::int64_t deadline);
  void Paint(HDC dc);
  // Sizes the window for the monitor it is on (or mostly on).
  void FitWindowToMonitor();

  HWND window_ = nullptr;
  LARGE_INTEGER frequency_{};
  LARGE_INTEGER started_{};
  WicPictureDecoder decoder_;
  app::GlyphAtlas glyphs_;
  game::RandomGenerator random_;
  bool fixed_seed_ = false;
  WindowKeys window_keys_;
  std::vector<int> keys_down_;  // the game's keys held, released on focus loss
  std::deque<app::InputEvent> queue_;
  bool close_requested_ = false;
  Placement placement_;
  bool fullscreen_ = false;
  WINDOWPLACEMENT windowed_{};
  // The frame last presented, as the bytes a 32-bit DIB holds (blue, green,
  // red, unused), for presenting and for repainting.
  std::vector<std::uint32_t> shown_;
  BITMAPINFO dib_{};
};

}  // namespace orvo::win32
