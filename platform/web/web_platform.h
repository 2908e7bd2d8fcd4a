// The game in a web page: Orvo's platform when compiled to WebAssembly. The
// page's handlers queue the events (in JavaScript); WaitForEvent takes them
// one at a time and sleeps through Asyncify when there is none, so that the
// page stays alive meanwhile. Frames go to the page's canvas; labels are
// rendered from the glyph atlas made at build time, because the browser's
// own text would not match the desktop's pixels.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/glyph_atlas.h"
#include "app/platform.h"
#include "platform/web/frame_delta.h"
#include "platform/web/page_input.h"
#include "platform/web/web_picture_decoder.h"

namespace orvo::web {

class WebPlatform : public app::Platform, PageQueue {
 public:
  // Has the browser decode the pictures the page has put in the program's
  // folder (the game's and the window's background) all at once, rather
  // than one after the other as start-up asks for them; those the page began
  // decoding while the program loaded go on. Files that are no acceptable
  // picture are left for start-up to report. Returns how many are decoding.
  int DecodePicturesAhead();

  // app::Platform. The page puts the program's files in its folder before
  // it starts.
  std::string ProgramFolder() override { return kProgramFolder; }
  bool HoldsOrdinaryFile(const std::string& folder) override;
  const gfx::PictureDecoder& Pictures() override { return decoder_; }
  const app::LabelText& Text() override { return glyphs_; }
  bool OpenWindow(gfx::Surface& background, std::string& error) override;
  void PresentFrame(const gfx::Surface& frame) override;
  void ShowFatalMessage(const std::string& title, const std::string& message) override;
  [[noreturn]] void EndProgram(int status) override;
  std::int64_t TickCount() override;
  std::optional<app::InputEvent> WaitForEvent(std::int64_t deadline) override {
    return NextInputEvent(*this, deadline);
  }

 private:
  // PageQueue: the page's queue of events.
  std::optional<PageEvent> Take() override;
  void Sleep(std::int64_t ms) override;
  std::int64_t Now() override { return TickCount(); }

  BrowserPictureDecoder decoder_;
  app::GlyphAtlas glyphs_;
  ShownFrame shown_;
};

// Notes a named moment of the start-up in the page's performance timeline
// (performance.mark), where the page's figures find it.
void PageMark(const char* name);

}  // namespace orvo::web
