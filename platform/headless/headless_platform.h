// The headless platform: no window, a virtual clock that moves only when it
// is told to (or a wait jumps it), input events from a queue that its user
// fills, and the files of whichever system its user hands it. The replay
// runner and the tests' doubles build on it; each replaces what it cares about. A shell on it is
// best given a fixed seed, so that its games are the same on every run.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "app/platform.h"
#include "app/shell.h"

namespace orvo::headless {

// Unwinds everything, nested game loops included, to whoever runs the
// shell, which then ends with `status`. Not derived from std::exception, so
// that nothing on the way mistakes it for an error.
struct ProgramEnd {
  int status = 0;
};

// Measures each character of a caption as an 8 x 16 cell and draws
// nothing: a headless window has a fixed layout, the same on every
// machine, but no picture that anybody sees.
class FixedCellText : public app::LabelText {
 public:
  static constexpr int kCellWidth = 8;
  static constexpr int kCellHeight = 16;
  gfx::AlphaMask Render(app::FontFace face, const std::string& utf8) const override;
};

class HeadlessPlatform : public app::Platform {
 public:
  // The clock when the program starts.
  static constexpr std::int64_t kStartTick = 1000;

  // `files` (which must outlive the platform) lists folders and reads files:
  // the system's, or a test's own.
  explicit HeadlessPlatform(const gfx::FileReader& files, std::string programFolder = {})
      : files_(files), program_folder_(std::move(programFolder)) {}

  std::int64_t Clock() const { return clock_; }
  virtual void SetClock(std::int64_t tick) { clock_ = tick; }
  // Queues an input event for WaitForEvent.
  void Queue(const app::InputEvent& event) { events_.push_back(event); }
  // How many frames the shell has presented (the first showing included).
  std::uint64_t FramesPresented() const { return frames_presented_; }

  // app::Platform.
  std::string ProgramFolder() override { return program_folder_; }
  // The files handed to the constructor.
  std::optional<std::vector<gfx::FolderEntry>> ListFolder(
      const std::string& folder) const override {
    return files_.ListFolder(folder);
  }
  gfx::FileRead ReadFile(const std::string& path, std::int64_t limit,
                         std::vector<std::uint8_t>& bytes) const override {
    return files_.ReadFile(path, limit, bytes);
  }
  const app::LabelText& Text() override { return text_; }
  // No picture of its own: the background stays empty (black).
  bool OpenWindow(gfx::Surface& background, std::string& error) override;
  void PresentFrame(const gfx::Surface& /*frame*/) override { ++frames_presented_; }
  // Writes "title: message" to standard error.
  void ShowFatalMessage(const std::string& title, const std::string& message) override;
  // Throws ProgramEnd.
  [[noreturn]] void EndProgram(int status) override;
  std::int64_t TickCount() override { return clock_; }
  // The first queued event; with none, the clock jumps to the deadline (an
  // endless wait leaves it, as nothing would ever come).
  std::optional<app::InputEvent> WaitForEvent(std::int64_t deadline) override;

 private:
  const gfx::FileReader& files_;
  std::string program_folder_;
  std::int64_t clock_ = kStartTick;
  std::deque<app::InputEvent> events_;
  std::uint64_t frames_presented_ = 0;
  FixedCellText text_;
};

}  // namespace orvo::headless
