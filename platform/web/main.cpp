// The game in a web page: the page has put the pictures and the label glyphs
// into the program's file system before it starts (a file the page could
// not fetch is simply not there, and start-up says so as on the desktop).
#include <emscripten.h>

#include <cstdint>
#include <optional>
#include <string>

#include "app/app.h"
#include "app/startup.h"
#include "platform/web/page_events.h"
#include "platform/web/web_platform.h"

namespace {

// The page shows a start-up failure in place of the game.
// clang-format off
EM_JS(void, orvo_page_failure, (const char* title, const char* text), {
  if (Module.orvoFailure) Module.orvoFailure(UTF8ToString(title), UTF8ToString(text));
});
// clang-format on

// The program stops there: nothing else would run after the message.
void ShowFailureInPage(const std::string& title, const std::string& text) {
  orvo_page_failure(title.c_str(), text.c_str());
  orvo::web::HaltProgram();
}

// The page's test hook: ?seed=N fixes the random source's seed.
// clang-format off
EM_JS(double, orvo_page_seed, (), {
  const seed = Module.orvoSeed;
  return (typeof seed === 'number' && Number.isInteger(seed) && seed >= 0 && seed <= 4294967295)
             ? seed
             : -1;
});
// clang-format on

std::optional<std::uint32_t> SeedFromPage() {
  const double seed = orvo_page_seed();
  if (seed < 0) return std::nullopt;
  return static_cast<std::uint32_t>(seed);
}

}  // namespace

int main() {
  using orvo::app::Fail;
  orvo::app::SetFatalMessage(ShowFailureInPage);
  const std::string graphicsPath = orvo::app::CheckPath("/Graphics/");

  orvo::web::WebPlatform platform(SeedFromPage());
  orvo::app::App app(platform);
  platform.Attach(app);
  std::string error;
  if (!app.StartUp(graphicsPath, error)) Fail(error);
  if (!platform.OpenWindow("/page/window_back.jpg", "/page/glyphs.bin", error)) Fail(error);
  platform.ShowWindow();
  platform.RunEventLoop();
}
