// The game in a web page: the page has put the pictures, the window's
// background and the label glyphs under /orvo before the program starts (a
// file the page could not fetch is simply not there, and start-up says so
// as on the desktop).
#include <emscripten.h>

#include <cstdint>
#include <optional>

#include "app/shell.h"
#include "platform/web/page_events.h"
#include "platform/web/web_platform.h"

namespace {

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
  orvo::web::PageMark("orvo main");
  orvo::web::WebPlatform platform(SeedFromPage());
  // The browser decodes the pictures while the rest starts up.
  platform.DecodePicturesAhead();
  orvo::web::PageMark("orvo decodes started");
  orvo::app::Shell shell(platform);
  platform.PublishStateOf(&shell);
  shell.Run();
}
