#include "platform/web/web_platform.h"

#include <dirent.h>
#include <emscripten.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>

#include "gfx/picture_decoder.h"
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

// The page draws the rectangle (x, y, w, h) of the frame anew; the rest of
// the frame is as the last one showed it.
// clang-format off
EM_JS(void, orvo_show_frame,
      (const std::uint32_t* rgba, int width, int height, int x, int y, int w, int h), {
  if (Module.orvoShowFrame) {
    Module.orvoShowFrame(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4), width,
                         height, x, y, w, h);
  }
});
// clang-format on

std::uint32_t ClockSeed() {
  return static_cast<std::uint32_t>(emscripten_get_now() * 1000.0) ^
         static_cast<std::uint32_t>(emscripten_random() * 4294967295.0);
}

struct FileClose {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// The whole file at `path`; false when it cannot be read or holds more than
// `limit` bytes. (C's stdio rather than iostreams: far less code for the
// browser to compile before the first frame.)
bool ReadFile(const std::string& path, std::vector<std::uint8_t>& bytes,
              long limit = std::numeric_limits<long>::max()) {
  const std::unique_ptr<std::FILE, FileClose> file(std::fopen(path.c_str(), "rb"));
  if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return false;
  const long size = std::ftell(file.get());
  if (size < 0 || size > limit || std::fseek(file.get(), 0, SEEK_SET) != 0) return false;
  bytes.resize(static_cast<std::size_t>(size));
  return std::fread(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
}

constexpr const char* kWindowBackground = "window_back.jpg";

}  // namespace

WebPlatform::WebPlatform(std::optional<std::uint32_t> seed)
    : random_(seed.value_or(ClockSeed())),
      fixed_seed_(seed.has_value()),
      dump_(orvo_page_dumps() != 0) {}

int WebPlatform::DecodePicturesAhead() {
  const std::string folder = ProgramFolder();
  std::vector<std::string> paths{folder + kWindowBackground};
  const std::string graphics = folder + "Graphics/";
  if (DIR* dir = opendir(graphics.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      if (entry->d_type == DT_REG) paths.push_back(graphics + entry->d_name);
    }
    closedir(dir);
  }
  int started = 0;
  for (const std::string& path : paths) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFile(path, bytes, static_cast<long>(gfx::kMaxPictureFileBytes))) continue;
    if (decoder_.DecodeAhead(bytes)) ++started;
  }
  return started;
}

bool WebPlatform::OpenWindow(gfx::Surface& background, std::string& error) {
  PageMark("orvo open window");
  const std::string folder = ProgramFolder();
  std::string reason;
  std::optional<gfx::Surface> picture =
      gfx::DecodePictureFile(folder + kWindowBackground, decoder_, reason);
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

void WebPlatform::ShowWindow(const gfx::Surface& frame) {
  PageMark("orvo first frame composed");
  PresentFrame(frame);
  PageMark("orvo first frame shown");
}

void WebPlatform::ShowFatalMessage(const std::string& title, const std::string& message) {
  orvo_page_failure(title.c_str(), message.c_str());
}

void WebPlatform::EndProgram(int status) {
  orvo_page_ended(status);
  HaltProgram();
}

void WebPlatform::PresentFrame(const gfx::Surface& frame) {
  const FrameRect changed = shown_.Update(frame);
  orvo_show_frame(shown_.Pixels().data(), shown_.Width(), shown_.Height(), changed.x, changed.y,
                  changed.width, changed.height);
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
