#include "platform/web/web_platform.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace orvo::web {

namespace {

// clang-format off
EM_JS(void, orvo_page_ended, (int status), {
  if (Module.orvoEnded) Module.orvoEnded(status);
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

// The seen board and the game's variables as one line of JSON.
std::string StateJson(const game::Game& rules, std::uint64_t randomUsed) {
  const game::GameState& s = rules.State();
  std::string json = "{\"board\":[";
  for (int y = 0; y <= game::MaxRow; ++y) {
    json += y == 0 ? "[" : ",[";
    for (int x = 0; x <= game::MaxCol; ++x) {
      if (x > 0) json += ",";
      json += std::to_string(rules.Cells()(x, y));
    }
    json += "]";
  }
  json += "],\"Running\":" + std::string(s.Running ? "true" : "false") +
          ",\"PairActive\":" + (s.PairActive ? "true" : "false") +
          ",\"PairX\":" + std::to_string(s.PairX) + ",\"PairY\":" + std::to_string(s.PairY) +
          ",\"Level\":" + std::to_string(s.Level) + ",\"Points\":" + std::to_string(s.Points) +
          ",\"Bombs\":" + std::to_string(s.Bombs) + ",\"Cleared\":" + std::to_string(s.Cleared) +
          ",\"RandomUsed\":" + std::to_string(randomUsed) + "}";
  return json;
}

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

bool WebPlatform::OpenWindow(const std::string& backgroundPath, const std::string& glyphsPath,
                             std::string& error) {
  std::string reason;
  std::optional<gfx::Surface> background = gfx::DecodePictureFile(backgroundPath, decoder_, reason);
  if (!background) {
    error = "Cannot decode the window's background picture: " + reason;
    return false;
  }
  frame_.SetBackground(std::move(*background));
  std::vector<std::uint8_t> bytes;
  if (!ReadFile(glyphsPath, bytes)) {
    error = "Cannot show the window's labels: no glyphs at " + glyphsPath;
    return false;
  }
  std::optional<GlyphAtlas> glyphs = GlyphAtlas::Parse(bytes, reason);
  if (!glyphs) {
    error = "Cannot show the window's labels: " + glyphsPath + ": " + reason;
    return false;
  }
  frame_.SetGlyphs(std::move(*glyphs));
  return true;
}

void WebPlatform::ShowWindow() {
  shown_ = true;
  Present(true);
}

void WebPlatform::RunEventLoop() {
  for (;;) {
    WaitForPageEvent(-1);
    DrainEvents();
    PresentIfPending();
  }
}

std::int64_t WebPlatform::TickCount() {
  return static_cast<std::int64_t>(PageClockMs());
}

void WebPlatform::ReseedRandom() {
  // With the seed fixed by the page, the numbers run on from game to game,
  // as in a replay with the same seed.
  if (!fixed_seed_) random_.Seed(ClockSeed());
}

void WebPlatform::WaitUntil(std::int64_t deadline, std::int32_t /*ms*/) {
  // The page's events stay queued until the cascade is over; the browser
  // runs on meanwhile. A timer may fire a little early: sleep again then.
  for (std::int64_t left = deadline - TickCount(); left > 0; left = deadline - TickCount()) {
    SleepMs(left);
  }
}

void WebPlatform::ProcessEvents(std::int64_t nextDue) {
  const bool handled = DrainEvents();
  PresentIfPending();
  PublishState();
  // After an event the loop's next turn may have something to do at once.
  if (handled) return;
  const std::int64_t now = TickCount();
  if (nextDue <= now) return;
  WaitForPageEvent(nextDue == app::kNothingDue ? -1 : nextDue - now);
  DrainEvents();
  PresentIfPending();
}

bool WebPlatform::DrainEvents() {
  bool any = false;
  for (PageEvent event = TakePageEvent(); event.kind != PageEventKind::None;
       event = TakePageEvent()) {
    any = true;
    Dispatch(event);
  }
  return any;
}

void WebPlatform::Dispatch(const PageEvent& event) {
  if (!app_) return;
  switch (event.kind) {
    case PageEventKind::KeyDown:
      app_->Form_KeyDown(event.a, event.b);
      break;
    case PageEventKind::KeyUp:
      app_->Form_KeyUp(event.a, event.b);
      break;
    case PageEventKind::MouseDown: {
      if (pressed_action_ >= 0) break;
      const int index = frame_.ActionAt(app_->View(), event.a, event.b);
      if (index < 0) break;
      pressed_action_ = index;
      app_->lblAction_MouseDown(index);
      break;
    }
    case PageEventKind::MouseUp: {
      if (pressed_action_ < 0) break;
      // The caption that took the press gets the release; a click only when
      // the release is over that same caption. The release comes first.
      const int index = pressed_action_;
      pressed_action_ = -1;
      app_->lblAction_MouseUp(index);
      PresentIfPending();
      if (frame_.ActionAt(app_->View(), event.a, event.b) == index) app_->lblAction_Click(index);
      break;
    }
    case PageEventKind::None:
      break;
  }
}

void WebPlatform::Present(bool /*uploadBoard*/) {
  // Nothing is shown before the window is (start-up sets the labels first).
  if (!app_ || !shown_) return;
  frame_.Compose(app_->View());
  frame_.Show();
  pending_ = false;
  PublishState();
}

void WebPlatform::PublishState() {
  if (dump_ && app_) orvo_page_dump(StateJson(app_->Rules(), random_used_).c_str());
}

void WebPlatform::PresentIfPending() {
  if (pending_) Present(false);
}

void WebPlatform::ControlChanged(game::Control /*c*/, game::ControlChange what,
                                 const game::LabelState& /*label*/) {
  switch (app::RefreshFor(what)) {
    case app::LabelRefresh::Now:
      Present(false);
      break;
    case app::LabelRefresh::AtNextEvents:
      pending_ = true;
      break;
    case app::LabelRefresh::Never:
      break;
  }
}

void WebPlatform::EndProgram(int status) {
  orvo_page_ended(status);
  HaltProgram();
}

}  // namespace orvo::web
