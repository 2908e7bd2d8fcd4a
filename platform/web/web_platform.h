// The game in a web page: the application's platform when compiled to
// WebAssembly. The page's handlers queue the events; this platform takes them
// in its event processing, as a window's message loop would, and the waits
// sleep through Asyncify so that the page stays alive.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/app.h"
#include "app/platform.h"
#include "game/random_generator.h"
#include "gfx/surface.h"
#include "platform/web/frame.h"
#include "platform/web/page_events.h"
#include "platform/web/web_picture_decoder.h"

namespace orvo::web {

class WebPlatform : public app::Platform {
 public:
  // `seed`: a fixed seed of the random source (a test hook of the page), so
  // that a test can predict the pairs; a new game then does not reseed.
  explicit WebPlatform(std::optional<std::uint32_t> seed);

  void Attach(app::App& app) { app_ = &app; }
  // Reads the window's background and the label glyphs; false with `error`.
  bool OpenWindow(const std::string& backgroundPath, const std::string& glyphsPath,
                  std::string& error);
  void ShowWindow();
  // The idle state: waits for events and hands them out until a handler ends
  // the program.
  [[noreturn]] void RunEventLoop();

  // game::GameServices.
  std::int64_t TickCount() override;
  float NextRandom() override {
    ++random_used_;
    return random_.Next();
  }
  void ReseedRandom() override;
  void RefreshFront() override { Present(true); }
  void ControlChanged(game::Control c, game::ControlChange what,
                      const game::LabelState& label) override;
  // app::Platform.
  void WaitUntil(std::int64_t deadline, std::int32_t ms) override;
  void ProcessEvents(std::int64_t nextDue) override;
  const gfx::PictureDecoder& Pictures() override { return decoder_; }
  [[noreturn]] void EndProgram(int status) override;

 private:
  // Hands every queued event to the application; true when there was one.
  bool DrainEvents();
  void Dispatch(const PageEvent& event);
  void Present(bool uploadBoard);
  void PresentIfPending();

  app::App* app_ = nullptr;
  BrowserPictureDecoder decoder_;
  Frame frame_;
  game::RandomGenerator random_;
  bool fixed_seed_ = false;
  bool dump_ = false;
  std::uint64_t random_used_ = 0;  // numbers drawn, for the page's dump
  // With ?dump=1, publishes the game's state to the page.
  void PublishState();
  bool shown_ = false;
  bool pending_ = false;
  int pressed_action_ = -1;
};

}  // namespace orvo::web
