// What Asyncify costs the game: the same rules, application and drawing,
// compiled to WebAssembly twice (with and without Asyncify) and run by
// Node.js on a virtual clock, with Left held until each game is over. The
// platform's waits call an import that Asyncify must treat as one that may
// sleep, so every function on a path to a wait is instrumented, as in the page;
// here it never sleeps, so the difference is the instrumentation's cost.
// Built and run by bench/asyncify_cost.sh.
#include <emscripten.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/app.h"
#include "app/app_services.h"
#include "app/key_table.h"
#include "game/board_geometry.h"
#include "game/random_generator.h"

extern "C" void bench_pause(int ms);  // a no-op in JavaScript (the page's sleep)

namespace {

// Pictures of the sizes the game needs, whatever the file holds: the
// benchmark measures the game, not a decoder.
class PlainPictures : public orvo::gfx::PictureDecoder {
 public:
  std::optional<orvo::gfx::Surface> Decode(std::span<const std::uint8_t> bytes,
                                           std::string&) const override {
    const int width = bytes.size() == 1 ? orvo::game::kFrontWidth : orvo::game::kSheetWidth;
    const int height = bytes.size() == 1 ? orvo::game::kFrontHeight : orvo::game::kSheetHeight;
    orvo::gfx::Surface s(width, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) s.Row(y)[x] = orvo::gfx::Rgb(x * 7, y * 5, (x ^ y) & 0xFF);
    }
    return s;
  }
};

class VirtualServices : public orvo::app::AppServices {
 public:
  std::int64_t TickCount() override { return clock_; }
  float NextRandom() override { return random_.Next(); }
  void ReseedRandom() override {}
  void RefreshFront() override { ++refreshes; }
  void ControlChanged(orvo::game::Control, orvo::game::ControlChange,
                      const orvo::game::LabelState&) override {}
  void WaitUntil(std::int64_t deadline, std::int32_t ms) override {
    bench_pause(ms);
    if (deadline > clock_) clock_ = deadline;
  }
  void ProcessEvents(std::int64_t) override {
    bench_pause(0);
    ++clock_;
    ++turns;
  }
  const orvo::gfx::PictureDecoder& Pictures() override { return pictures_; }
  [[noreturn]] void EndProgram(int status) override { std::exit(status); }

  long long turns = 0;
  long long refreshes = 0;

 private:
  std::int64_t clock_ = 1000;
  orvo::game::RandomGenerator random_{12345};
  PlainPictures pictures_;
};

}  // namespace

int main() {
  std::filesystem::create_directories("/Graphics");
  std::ofstream("/Graphics/GameBack.jpg") << "b";
  std::ofstream("/Graphics/Blocks.gif") << "sheet";
  std::ofstream("/Graphics/Grid.gif") << "grid";
  VirtualServices platform;
  orvo::app::App app(platform);
  std::string error;
  if (!app.StartUp("/Graphics/", error)) {
    std::printf("start-up failed: %s\n", error.c_str());
    return 1;
  }
  const double start = emscripten_get_now();
  constexpr int kGames = 40;
  for (int game = 0; game < kGames; ++game) {
    app.Form_KeyDown(orvo::app::Key::Left);
    app.lblAction_Click(0);  // the whole game runs in here, until it is over
  }
  const double ms = emscripten_get_now() - start;
  std::printf("%d games, %lld loop turns, %lld refreshes: %.1f ms\n", kGames, platform.turns,
              platform.refreshes, ms);
  return 0;
}
