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
#include <vector>

#include "app/glyph_atlas.h"
#include "app/platform.h"
#include "platform/web/frame_delta.h"
#include "platform/web/page_input.h"

namespace orvo::web {

class WebPlatform : public app::Platform, PageQueue {
 public:
  // app::Platform. The page puts the program's files in its folder (in
  // emscripten's memory file system) before it starts.
  std::string ProgramFolder() override { return kProgramFolder; }
  std::optional<std::vector<gfx::FolderEntry>> ListFolder(const std::string& folder) const override;
  gfx::FileRead ReadFile(const std::string& path, std::int64_t limit,
                         std::vector<std::uint8_t>& bytes) const override;
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

  app::GlyphAtlas glyphs_;
  ShownFrame shown_;
};

// Notes a named moment of the start-up in the page's performance timeline
// (performance.mark), where the page's figures find it.
void PageMark(const char* name);

}  // namespace orvo::web
