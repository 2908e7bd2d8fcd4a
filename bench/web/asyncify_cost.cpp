// What Asyncify costs the game: the same rules, application and drawing,
// compiled to WebAssembly twice (with and without Asyncify) and run by
// Node.js on a virtual clock, with Left held until each game is over. The
// platform's waits call an import that Asyncify must treat as one that may
// sleep, so every function on a path to a wait is instrumented, as in the page;
// here it never sleeps, so the difference is the instrumentation's cost.
// Built and run by bench/asyncify_cost.sh.
#include <emscripten.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/app_services.h"
#include "app/key_table.h"
#include "game/board_geometry.h"
#include "game/random_generator.h"

extern "C" void bench_pause(int ms);  // a no-op in JavaScript (the page's sleep)

namespace {

// The game's files, embedded in the program (bench/asyncify_cost.sh), read
// with the C library: the benchmark measures the game, not the files.
class EmbeddedFiles : public orvo::gfx::FileReader {
 public:
  std::optional<std::vector<orvo::gfx::FolderEntry>> ListFolder(
      const std::string& folder) const override {
    if (folder != "/Graphics/") return std::nullopt;
    std::vector<orvo::gfx::FolderEntry> entries;
    for (const char* name : {"Blocks.gif", "GameBack.jpg", "Grid.gif"}) {
      entries.push_back({name, orvo::gfx::FolderEntry::Kind::kFile});
    }
    return entries;
  }
  orvo::gfx::FileRead ReadFile(const std::string& path, std::int64_t limit,
                               std::vector<std::uint8_t>& bytes) const override {
    using Status = orvo::gfx::FileRead::Status;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return {Status::kCannotOpen, {}};
    bytes.clear();
    int c = 0;
    while ((c = std::fgetc(file)) != EOF && static_cast<std::int64_t>(bytes.size()) <= limit) {
      bytes.push_back(static_cast<std::uint8_t>(c));
    }
    std::fclose(file);
    if (static_cast<std::int64_t>(bytes.size()) > limit) return {Status::kTooLarge, {}};
    return {};
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
  const orvo::gfx::FileReader& Files() override { return files_; }
  [[noreturn]] void EndProgram(int status) override { std::exit(status); }

  long long turns = 0;
  long long refreshes = 0;

 private:
  std::int64_t clock_ = 1000;
  orvo::game::RandomGenerator random_{12345};
  EmbeddedFiles files_;
};

}  // namespace

int main() {
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
