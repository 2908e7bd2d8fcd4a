#include "platform/web/web_platform.h"

#include <emscripten.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/web/page_events.h"

namespace orvo::web {

namespace {

// clang-format off
EM_JS(void, orvo_page_ended, (int status), {
  if (Module.orvoEnded) Module.orvoEnded(status);
});
// clang-format on

// The page shows a start-up failure in place of the game.
// clang-format off
EM_JS(void, orvo_page_failure, (const char* title, const char* text), {
  if (Module.orvoFailure) Module.orvoFailure(UTF8ToString(title), UTF8ToString(text));
});
// clang-format on

// The page's test hook: ?dump=1 has the game's state published at every frame.
// clang-format off
EM_JS(int, orvo_page_dumps, (), { return Module.orvoDumpEnabled ? 1 : 0; });
// clang-format on
// clang-format off
EM_JS(void, orvo_page_dump, (const char* json), {
  if (Module.orvoDump) Module.orvoDump(UTF8ToString(json));
});
// clang-format on

// clang-format off
EM_JS(void, orvo_show_frame, (const std::uint32_t* rgba, int width, int height), {
  if (Module.orvoShowFrame) {
    Module.orvoShowFrame(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4), width,
                         height);
  }
});
// clang-format on

std::uint32_t ClockSeed() {
  return static_cast<std::uint32_t>(emscripten_get_now() * 1000.0) ^
         static_cast<std::uint32_t>(emscripten_random() * 4294967295.0);
}

bool ReadFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

WebPlatform::WebPlatform(std::optional<std::uint32_t> seed)
    : random_(seed.value_or(ClockSeed())),
      fixed_seed_(seed.has_value()),
      dump_(orvo_page_dumps() != 0) {}

bool WebPlatform::OpenWindow(gfx::Surface& background, std::string& error) {
  const std::string folder = ProgramFolder();
  std::string reason;
  std::optional<gfx::Surface> picture =
      gfx::DecodePictureFile(folder + "window_back.jpg", decoder_, reason);
  if (!picture) {
    error = "Cannot decode the window's background picture: " + reason;
    return false;
  }
  const std::string glyphsPath = folder + "glyphs.bin";
  std::vector<std::uint8_t> bytes;
  if (!ReadFile(glyphsPath, bytes)) {
    error = "Cannot show the window's labels: no glyphs at " + glyphsPath;
    return false;
  }
  std::optional<app::GlyphAtlas> glyphs = app::GlyphAtlas::Parse(bytes, reason);
  if (!glyphs) {
    error = "Cannot show the window's labels: " + glyphsPath + ": " + reason;
    return false;
  }
  glyphs_ = std::move(*glyphs);
  background = std::move(*picture);
  return true;
}

void WebPlatform::ShowFatalMessage(const std::string& title, const std::string& message) {
  orvo_page_failure(title.c_str(), message.c_str());
}

void WebPlatform::EndProgram(int status) {
  orvo_page_ended(status);
  HaltProgram();
}

void WebPlatform::PresentFrame(const gfx::Surface& frame) {
  // Frame colours are 0x00BBGGRR words, which are the bytes R, G, B, 0: the
  // canvas's RGBA with an alpha to make opaque.
  const std::vector<gfx::Color>& pixels = frame.Pixels();
  rgba_.resize(pixels.size());
  for (std::size_t i = 0; i < pixels.size(); ++i) rgba_[i] = pixels[i] | 0xFF000000u;
  orvo_show_frame(rgba_.data(), frame.Width(), frame.Height());
  PublishState();
}

void WebPlatform::PublishState() {
  if (dump_source_) orvo_page_dump(dump_source_->StateDump().c_str());
}

std::int64_t WebPlatform::TickCount() {
  return static_cast<std::int64_t>(PageClockMs());
}

void WebPlatform::ReseedRandom() {
  // With the seed fixed by the page, the numbers run on from game to game,
  // as in a replay with the same seed.
  if (!fixed_seed_) random_.Seed(ClockSeed());
}

bool WebPlatform::WaitUntil(std::int64_t deadline) {
  // The page's events stay queued until the cascade is over; the browser
  // runs on meanwhile. A timer may fire a little early: sleep again then.
  for (std::int64_t left = deadline - TickCount(); left > 0; left = deadline - TickCount()) {
    SleepMs(left);
  }
  return true;
}

bool WebPlatform::PollEvent(app::InputEvent& event) {
  for (;;) {
    if (input_.Next(event)) return true;
    const PageEvent taken = TakePageEvent();
    if (taken.kind == PageEventKind::None) break;
    input_.Take(taken);
  }
  input_.EndOfBatch();
  // Every batch of events ends here: the test hook sees the state after it.
  PublishState();
  return false;
}

void WebPlatform::SleepUntilEvent(std::int64_t deadline) {
  // Releases held back from the last processing are events waiting too.
  if (input_.HasReady()) return;
  if (deadline == app::kNothingDue) {
    WaitForPageEvent(-1);
    return;
  }
  const std::int64_t left = deadline - TickCount();
  if (left > 0) WaitForPageEvent(left);
}

}  // namespace orvo::web
