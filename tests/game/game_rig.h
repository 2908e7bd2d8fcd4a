// Test rig for the rules: a recording stand-in for the game's services (a
// virtual clock, a scripted random source, the labels) and small synthetic
// pictures whose every pixel the tests can predict.
#pragma once

#include <unistd.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "game/game.h"
#include "gfx/bitmap_cache.h"
#include "gfx/surface.h"
#include "gfx/surface_table.h"
#include "tests/gfx/disk_files.h"
#include "tests/gfx/raw_picture.h"
#include "tests/gfx/test_files.h"

namespace orvo_test {

using orvo::game::Control;
using orvo::game::ControlName;
using orvo::gfx::Color;
using orvo::gfx::Rgb;
using orvo::gfx::Surface;

// Records everything the rules ask of the outside world, in order.
class FakeServices : public orvo::game::GameServices {
 public:
  std::int64_t now = 10000;
  std::int64_t tickStep = 0;  // added to the clock after every reading
  std::vector<std::string> log;
  std::deque<float> randoms;  // numbers to hand out; 0.0 (a block of 1) when empty
  int randomsTaken = 0;
  std::map<Control, std::string> captions;
  std::map<Control, std::string> tags;
  std::map<Control, bool> visible;

  // When set, every refresh keeps a copy of the board surface.
  const orvo::gfx::SurfaceTable* table = nullptr;
  orvo::gfx::SurfaceHandle front = orvo::gfx::kNoSurface;
  std::vector<Surface> frames;

  // When set, every points caption records (Points, Level) as they stand then.
  const orvo::game::GameState* state = nullptr;
  std::vector<std::pair<std::int32_t, std::int32_t>> pointsSeen;

  std::int64_t TickCount() override {
    const std::int64_t t = now;
    now += tickStep;
    return t;
  }
  void Wait(std::int32_t ms) override {
    log.push_back("wait " + std::to_string(ms));
    if (ms > 0) now += ms;
  }
  float NextRandom() override {
    // A rule that draws without end would hang the test program instead.
    if (++randomsTaken > 100000) throw std::runtime_error("endless drawing from the random source");
    if (randoms.empty()) return 0.0f;
    const float x = randoms.front();
    randoms.pop_front();
    return x;
  }
  void ReseedRandom() override { log.push_back("reseed"); }
  void RefreshFront() override {
    log.push_back("refresh");
    if (table != nullptr) frames.push_back(*table->Get(front));
  }
  void ControlChanged(Control c, orvo::game::ControlChange what,
                      const orvo::game::LabelState& label) override {
    const std::string name(ControlName(c));
    switch (what) {
      case orvo::game::ControlChange::Caption:
        log.push_back("caption " + name + "=" + label.Caption);
        captions[c] = label.Caption;
        if (state != nullptr && c == Control::lblPoints) {
          pointsSeen.emplace_back(state->Points, state->Level);
        }
        break;
      case orvo::game::ControlChange::Tag:
        log.push_back("tag " + name + "=" + label.Tag);
        tags[c] = label.Tag;
        break;
      case orvo::game::ControlChange::Visible:
        log.push_back("visible " + name + "=" + (label.Visible ? "1" : "0"));
        visible[c] = label.Visible;
        break;
      case orvo::game::ControlChange::Color:
        log.push_back("color " + name);
        break;
    }
  }

  // The entries of the log that start with `prefix`.
  std::vector<std::string> Only(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& e : log) {
      if (e.rfind(prefix, 0) == 0) out.push_back(e);
    }
    return out;
  }
  int Count(const std::string& entry) const {
    int n = 0;
    for (const auto& e : log) n += e == entry ? 1 : 0;
    return n;
  }
};

// ---- Synthetic pictures ------------------------------------------------

inline constexpr Color kMarker = Rgb(0x11, 0x22, 0x33);  // what Front holds before a test draws
inline constexpr Color kNearWhite = 0xFEFFFF;            // opaque, though close to white
inline constexpr int kSheetColumns = 7;
inline constexpr int kSheetRows = 6;

// The background: every pixel different, none white, none kMarker.
inline Color BackAt(int x, int y) {
  return Rgb(x & 0xFF, y & 0xFF, 0x40 | ((x >> 8) << 5));
}

// Sprite tile (v, k) at tile pixel (px, py): white (transparent) except a
// 16 x 16 square whose place depends on v and k, and one near-white pixel.
// Column 0 is never meant to be drawn, so it is a loud opaque green.
inline Color SpriteAt(int v, int k, int px, int py) {
  if (v == 0) return Rgb(0, 0xFF, 0);
  if (px == 0 && py == 47) return kNearWhite;
  const int left = 2 + 6 * k;
  const int top = 2 + 5 * v;
  if (px >= left && px < left + 16 && py >= top && py < top + 16) {
    return Rgb(0x80 + 0x10 * v, 0x80 + 0x10 * k, 0x01 + v);
  }
  return orvo::gfx::kWhite;
}

// The grid tile: dark lines along its top row and left column, two odd
// colours inside, white elsewhere.
inline Color GridAt(int w, int h, int px, int py) {
  if (px == 0 || py == 0) return Rgb(0x30, 0x30, 0x30);
  if (px == w / 2 && py == h / 2) return Rgb(0xF0, 0x0F, 0xFF);
  if (px == 1 && py == 1) return Rgb(0x80, 0xFF, 0x80);
  return orvo::gfx::kWhite;
}

inline std::filesystem::path PictureFolder() {
  static const std::filesystem::path dir = [] {
    auto p = std::filesystem::temp_directory_path() /
             ("orvo_game_tests_" + std::to_string(static_cast<long>(::getpid())));
    std::filesystem::create_directories(p);
    return p;
  }();
  return dir;
}

// Writes the picture once per test program and returns its path.
inline std::string WritePicture(const std::string& name, int w, int h,
                                const std::function<Color(int, int)>& at) {
  const std::string path = (PictureFolder() / name).string();
  static std::set<std::string> written;
  if (written.insert(path).second) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) orvo::gfx::SetPixel(s, x, y, at(x, y));
    }
    orvo::gfx::testing::WriteBytes(path, orvo::gfx::testing::EncodeRaw(s));
  }
  return path;
}

// Surfaces, cache and board surface wired together as the application does.
struct Pictures {
  orvo::gfx::testing::RawPictureDecoder raw;
  orvo_test::DiskFiles files;
  orvo::gfx::SurfaceTable table;
  orvo::gfx::BitmapCache cache;
  orvo::game::GameGraphics graphics;
  int gridWidth;
  int gridHeight;

  explicit Pictures(int gridW = 48, int gridH = 48) : gridWidth(gridW), gridHeight(gridH) {
    cache.InitBitmaps(table, files, raw);
    graphics.surfaces = &table;
    graphics.cache = &cache;
    graphics.FrontDC = table.Create(orvo::game::kFrontWidth, orvo::game::kFrontHeight);
    Front().Fill(kMarker);
    graphics.BackBitmap = cache.LoadBitmap(WritePicture("back.pic", 480, 288, BackAt), false);
    graphics.BlocksBitmap = cache.LoadBitmap(
        WritePicture("blocks.pic", 48 * kSheetColumns, 48 * kSheetRows,
                     [](int x, int y) { return SpriteAt(x / 48, y / 48, x % 48, y % 48); }),
        true);
    graphics.GridBitmap = cache.LoadBitmap(
        WritePicture("grid" + std::to_string(gridW) + "x" + std::to_string(gridH) + ".pic", gridW,
                     gridH, [gridW, gridH](int x, int y) { return GridAt(gridW, gridH, x, y); }),
        false);
    EXPECT_GE(graphics.BackBitmap, 0) << cache.LastError();
    EXPECT_GE(graphics.BlocksBitmap, 0) << cache.LastError();
    EXPECT_GE(graphics.GridBitmap, 0) << cache.LastError();
  }
  Surface& Front() { return *table.Get(graphics.FrontDC); }
};

// A game drawing on the synthetic pictures, with recording services.
struct Rig {
  FakeServices services;
  orvo::game::Labels labels{services};
  Pictures pictures;
  orvo::game::Game game{services, labels};

  explicit Rig(int gridW = 48, int gridH = 48) : pictures(gridW, gridH) {
    game.SetGraphics(pictures.graphics);
    services.state = &game.State();
  }
  // From now on every refresh keeps a copy of the board surface.
  void RecordFrames() {
    services.table = &pictures.table;
    services.front = pictures.graphics.FrontDC;
  }
  Surface& Front() { return pictures.Front(); }
  orvo::game::GameState& State() { return game.State(); }
  orvo::game::Board& Cells() { return game.Cells(); }
  // A game in progress with a fresh state, the board surface left as it is.
  void StartPlaying() {
    game.NewGame();
    game.State().Running = true;
    services.log.clear();
    services.pointsSeen.clear();
  }
};

// ---- Pixel expectations --------------------------------------------------

// What a cell should show: `base` at each pixel, then the listed sprite tiles
// (value, frame) drawn over it in order, white being transparent.
inline Color ExpectedCellPixel(const std::function<Color(int, int)>& base,
                               const std::vector<std::pair<int, int>>& sprites, int x, int y) {
  Color c = base(x, y);
  for (const auto& [v, k] : sprites) {
    const Color s = SpriteAt(v, k, x % 48, y % 48);
    if (s != orvo::gfx::kWhite) c = s;
  }
  return c;
}

inline ::testing::AssertionResult CellShows(const Surface& s, int cx, int cy,
                                            const std::function<Color(int, int)>& base,
                                            const std::vector<std::pair<int, int>>& sprites) {
  for (int y = cy * 48; y < cy * 48 + 48; ++y) {
    for (int x = cx * 48; x < cx * 48 + 48; ++x) {
      const Color want = ExpectedCellPixel(base, sprites, x, y);
      const Color got = orvo::gfx::GetPixel(s, x, y);
      if (want != got) {
        return ::testing::AssertionFailure()
               << "cell (" << cx << ", " << cy << ") pixel (" << x << ", " << y << "): got 0x"
               << std::hex << got << ", want 0x" << want;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

inline Color MarkerAt(int, int) {
  return kMarker;
}

// Every pixel outside the listed cells is as in `before`.
inline ::testing::AssertionResult UnchangedOutside(const Surface& before, const Surface& after,
                                                   const std::set<std::pair<int, int>>& cells) {
  for (int y = 0; y < before.Height(); ++y) {
    for (int x = 0; x < before.Width(); ++x) {
      if (cells.count({x / 48, y / 48}) != 0) continue;
      if (orvo::gfx::GetPixel(before, x, y) != orvo::gfx::GetPixel(after, x, y)) {
        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") changed";
      }
    }
  }
  return ::testing::AssertionSuccess();
}

inline bool SamePixels(const Surface& a, const Surface& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() && a.Pixels() == b.Pixels();
}

}  // namespace orvo_test
