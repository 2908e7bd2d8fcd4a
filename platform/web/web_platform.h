// The game in a web page: Orvo's platform when compiled to WebAssembly. The
// page's handlers queue the events; the shell takes them in its event
// processing, as a window's message loop would, and the waits sleep through
// Asyncify so that the page stays alive. Frames go to the page's canvas;
// labels are rendered from the glyph atlas made at build time, because the
// browser's own text would not match the desktop's pixels.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/glyph_atlas.h"
#include "app/platform.h"
#include "app/shell.h"
#include "game/random_generator.h"
#include "platform/web/frame_delta.h"
#include "platform/web/page_input.h"
#include "platform/web/web_picture_decoder.h"

namespace orvo::web {

class WebPlatform : public app::Platform {
 public:
  // `seed`: a fixed seed of the random source (a test hook of the page), so
  // that a test can predict the pairs; a new game then does not reseed.
  explicit WebPlatform(std::optional<std::uint32_t> seed);

  // With the page's ?dump=1, the state of `shell` is published to the page
  // at every frame and event processing.
  void PublishStateOf(app::Shell* shell) { dump_source_ = dump_ ? shell : nullptr; }

  // Has the browser decode the pictures the page has put under /orvo (the
  // game's and the window's background) all at once, rather than one after
  // the other as start-up asks for them; those the page began decoding
  // while the program loaded go on. Files that are no acceptable picture are
  // left for start-up to report. Returns how many pictures are decoding.
  int DecodePicturesAhead();

  // app::Platform.
  // The page puts the program's files under /orvo before it starts.
  std::string ProgramFolder() override { return "/orvo/"; }
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

 private:
  void PublishState();

  BrowserPictureDecoder decoder_;
  PageInput input_;
  app::GlyphAtlas glyphs_;
  game::RandomGenerator random_;
  bool fixed_seed_ = false;
  bool dump_ = false;
  app::Shell* dump_source_ = nullptr;
  ShownFrame shown_;
};

}  // namespace orvo::web
