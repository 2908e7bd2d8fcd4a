// The native Windows window: Orvo's platform on Windows. The thread's
// messages become the shell's input events; frames are shown with
// StretchDIBits at a whole-multiple scale; WaitForEvent sleeps in
// MsgWaitForMultipleObjectsEx until the next message or its deadline;
// labels are drawn from the glyph atlas made at build time (as on the web
// page, so that the window looks as on Linux); files are listed and read by
// their UTF-16 names (win32_files.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/glyph_atlas.h"
#include "app/platform.h"
#include "app/window_keys.h"
#include "app/window_scale.h"

namespace orvo::win32 {

class Win32Platform : public app::Platform {
 public:
  Win32Platform();
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  // app::Platform.
  std::string ProgramFolder() override;
  // win32_files.h: hidden and system files (such as desktop.ini and
  // Thumbs.db) are marked hidden.
  std::optional<std::vector<gfx::FolderEntry>> ListFolder(const std::string& folder) const override;
  gfx::FileRead ReadFile(const std::string& path, std::int64_t limit,
                         std::vector<std::uint8_t>& bytes) const override;
  const app::LabelText& Text() override { return glyphs_; }
  // Creates the window, hidden; the background and the glyphs are resources
  // of the program.
  bool OpenWindow(gfx::Surface& background, std::string& error) override;
  void PresentFrame(const gfx::Surface& frame) override;
  void ShowFatalMessage(const std::string& title, const std::string& message) override;
  [[noreturn]] void EndProgram(int status) override;
  std::int64_t TickCount() override;
  std::optional<app::InputEvent> WaitForEvent(std::int64_t deadline) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT Handle(UINT message, WPARAM w, LPARAM l);
  // Queues a key message's event for the game; false when the window keeps
  // the key for itself (and has switched its mode if the key asks so).
  bool Key(UINT message, WPARAM w, LPARAM l);
  void Pointer(app::InputEvent::Kind kind, LPARAM l);
  // Dispatches every message waiting in the thread's queue.
  void Pump();
  void Paint(HDC dc);
  void ToggleFullscreen();
  // Sizes the window for the monitor it is on (or mostly on).
  void FitWindowToMonitor();

  HWND window_ = nullptr;
  LARGE_INTEGER frequency_{};
  LARGE_INTEGER started_{};
  app::GlyphAtlas glyphs_;
  app::WindowKeys window_keys_;
  // The input events translated from messages, not yet handed out.
  std::deque<app::InputEvent> queue_;
  app::Placement placement_;
  bool fullscreen_ = false;
  WINDOWPLACEMENT windowed_{};
  // The frame last presented, as the bytes a 32-bit DIB holds (blue, green,
  // red, unused), for presenting and for repainting.
  std::vector<std::uint32_t> shown_;
  BITMAPINFO dib_{};
};

}  // namespace orvo::win32
