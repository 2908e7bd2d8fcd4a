// The headless platform: no window, a virtual clock that moves only when it
// is told to (or a wait jumps it), input events from a queue that its user
// fills, and the system's picture decoder. The replay runner and the tests'
// doubles build on it; each replaces what it cares about.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "app/platform.h"
#include "app/shell.h"
#include "game/random_generator.h"

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

// The decoder of the system the runner is built for: Linux's (giflib,
// libjpeg-turbo; system_pictures.cpp), or WIC's on Windows
// (system_pictures_wic.cpp). Each build links one of the two.
const gfx::PictureDecoder& SystemPictureDecoder();

class HeadlessPlatform : public app::Platform {
 public:
  // The clock when the program starts.
  static constexpr std::int64_t kStartTick = 1000;

  explicit HeadlessPlatform(std::string programFolder = {})
      : program_folder_(std::move(programFolder)) {}

  std::int64_t Clock() const { return clock_; }
  virtual void SetClock(std::int64_t tick) { clock_ = tick; }
  // Queues an input event for PollEvent.
  void Queue(const app::InputEvent& event) { events_.push_back(event); }
  // How many frames the shell has presented (the first showing included).
  std::uint64_t FramesPresented() const { return frames_presented_; }

  // app::Platform.
  std::string ProgramFolder() override { return program_folder_; }
  // No picture of its own: the background stays empty (black).
  bool OpenWindow(gfx::Surface& background, std::string& error) override;
  void ShowWindow(const gfx::Surface& /*frame*/) override { ++frames_presented_; }
  // Writes "title: message" to standard error.
  void ShowFatalMessage(const std::string& title, const std::string& message) override;
  // Throws ProgramEnd.
  [[noreturn]] void EndProgram(int status) override;
  void PresentFrame(const gfx::Surface& /*frame*/) override { ++frames_presented_; }
  const app::LabelText& Text() override { return text_; }
  // The system's decoder, as the game's (SystemPictureDecoder).
  const gfx::PictureDecoder& Pictures() override;
  std::int64_t TickCount() override { return clock_; }
  // The wait is over at once: the clock jumps to its end.
  bool WaitUntil(std::int64_t deadline) override;
  bool PollEvent(app::InputEvent& event) override;
  // With nothing queued, the clock jumps to the deadline (an endless sleep
  // leaves it, as nothing would ever wake it).
  void SleepUntilEvent(std::int64_t deadline) override;
  // One fixed sequence: the same numbers on every run.
  float NextRandom() override { return random_.Next(); }
  void ReseedRandom() override {}

 private:
  std::string program_folder_;
  std::int64_t clock_ = kStartTick;
  std::deque<app::InputEvent> events_;
  std::uint64_t frames_presented_ = 0;
  FixedCellText text_;
  game::RandomGenerator random_{0};
};

}  // namespace orvo::headless
