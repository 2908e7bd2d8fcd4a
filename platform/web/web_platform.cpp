#include "platform/web/web_platform.h"

#include <emscripten.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "gfx/library_codecs.h"
#include "gfx/picture_decoder.h"
#include "platform/posix/posix_files.h"

namespace orvo::web {

namespace {

// What the page (orvo_page.js) does for the program: it takes its frames,
// shows its failure message or its end, and queues the events.
// clang-format off
EM_JS(void, orvo_show_frame,
      (const std::uint32_t* rgba, int width, int height, int x, int y, int w, int h), {
  Module.orvoShowFrame(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4), width,
                       height, x, y, w, h);
});
EM_JS(void, orvo_page_failure, (const char* title, const char* text), {
  Module.orvoFailure(UTF8ToString(title), UTF8ToString(text));
});
EM_JS(void, orvo_page_ended, (int status), { Module.orvoEnded(status); });
// Writes the first queued event to `words` (its kind, then its fields) and
// returns 1; 0 when there is none.
EM_JS(int, orvo_take_event, (std::int32_t* words, int count), {
  const event = Module.orvoTakeEvent();
  if (event) HEAP32.set(event.subarray(0, count), words >> 2);
  return event ? 1 : 0;
});
EM_ASYNC_JS(void, orvo_wait_event, (double ms), { await Module.orvoEventArrival(ms); });
// The program stops where it is and never runs again; unlike an exit,
// nothing unwinds through the page.
EM_ASYNC_JS(void, orvo_halt, (), { await new Promise(() => {}); });
EM_JS(void, orvo_mark, (const char* name), { performance.mark(UTF8ToString(name)); });
// clang-format on

}  // namespace

void PageMark(const char* name) {
  orvo_mark(name);
}

std::optional<std::vector<gfx::FolderEntry>> WebPlatform::ListFolder(
    const std::string& folder) const {
  return posix::ListFolder(folder);
}

gfx::FileRead WebPlatform::ReadFile(const std::string& path, std::int64_t limit,
                                    std::vector<std::uint8_t>& bytes) const {
  return posix::ReadFile(path, limit, bytes);
}

bool WebPlatform::OpenWindow(gfx::Surface& background, std::string& error) {
  PageMark("orvo open window");
  const std::string folder = ProgramFolder();
  std::string reason;
  std::optional<gfx::Surface> picture =
      gfx::DecodePictureFile(*this, folder + kBackgroundFile, gfx::LibraryDecoder(), reason);
  if (!picture) {
    error = "Cannot decode the window's background picture: " + reason;
    return false;
  }
  const std::string glyphsPath = folder + kGlyphsFile;
  std::vector<std::uint8_t> bytes;
  if (ReadFile(glyphsPath, std::numeric_limits<std::int32_t>::max(), bytes).status !=
      gfx::FileRead::Status::kRead) {
    error = "Cannot show the window's labels: no glyphs at " + glyphsPath;
    return false;
  }
  PageMark("orvo glyphs read");
  std::optional<app::GlyphAtlas> glyphs = app::GlyphAtlas::Parse(bytes, reason);
  PageMark("orvo glyphs parsed");
  if (!glyphs) {
    error = "Cannot show the window's labels: " + glyphsPath + ": " + reason;
    return false;
  }
  glyphs_ = std::move(*glyphs);
  background = std::move(*picture);
  return true;
}

void WebPlatform::PresentFrame(const gfx::Surface& frame) {
  // The page draws only the rectangle that changed; the rest of the canvas
  // shows the last frame already.
  const FrameRect changed = shown_.Update(frame);
  orvo_show_frame(shown_.Pixels().data(), shown_.Width(), shown_.Height(), changed.x, changed.y,
                  changed.width, changed.height);
}

void WebPlatform::ShowFatalMessage(const std::string& title, const std::string& message) {
  orvo_page_failure(title.c_str(), message.c_str());
}

void WebPlatform::EndProgram(int status) {
  orvo_page_ended(status);
  orvo_halt();
  __builtin_unreachable();
}

std::int64_t WebPlatform::TickCount() {
  return static_cast<std::int64_t>(emscripten_get_now());
}

std::optional<PageEvent> WebPlatform::Take() {
  PageEvent event;
  if (!orvo_take_event(reinterpret_cast<std::int32_t*>(&event), kPageEventWords)) {
    return std::nullopt;
  }
  return event;
}

void WebPlatform::Sleep(std::int64_t ms) {
  orvo_wait_event(static_cast<double>(ms));
}

}  // namespace orvo::web
