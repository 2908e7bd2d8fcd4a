// The application object: start-up, shutdown and the services the rules use.
#include "app/app.h"

#include <cstdlib>

#include "gfx/file_lookup.h"
#include "gfx/sprite_draw.h"

namespace orvo::app {

namespace {

using game::kFrontHeight;
using game::kFrontWidth;

// Each picture must cover the rectangles that the drawing reads from it: the
// board's background the whole board, the sprite sheet seven columns of
// values (0 to 6) by six animation frames, the grid tile one pixel at least.
constexpr std::int32_t kSheetColumns = 7;
constexpr std::int32_t kSheetFrames = 6;
constexpr std::int32_t kSheetWidth = kSheetColumns * gfx::TileWidth;
constexpr std::int32_t kSheetHeight = kSheetFrames * gfx::TileHeight;
struct PictureNeed {
  const char* file;
  bool mask;
  std::int32_t width;
  std::int32_t height;
};
constexpr PictureNeed kBackPicture{"GameBack.jpg", false, kFrontWidth, kFrontHeight};
constexpr PictureNeed kBlocksPicture{"Blocks.gif", true, kSheetWidth, kSheetHeight};
constexpr PictureNeed kGridPicture{"Grid.gif", false, 1, 1};

}  // namespace

App::App(Host& host) : host_(host), game_(*this) {}

bool App::StartUp(const std::string& graphicsPath, std::string& error) {
  cache_.InitBitmaps(surfaces_, host_.Pictures());
  front_dc_ = surfaces_.Create(kFrontWidth, kFrontHeight);

  // A missing, unreadable or too small picture is reported here, at
  // start-up, rather than left to break the drawing later.
  const auto load = [&](const PictureNeed& need, std::int32_t& index) {
    const std::string path = graphicsPath + need.file;
    index = cache_.LoadBitmap(path, need.mask);
    if (index < 0) {
      if (!gfx::FindOrdinaryFile(path)) {
        error = "Path not found: " + path;
      } else {
        error = cache_.LastError().empty() ? "Cannot load picture " + path : cache_.LastError();
      }
      return false;
    }
    const gfx::BitmapEntry& entry = *cache_.Entry(index);
    if (entry.Width < need.width || entry.Height < need.height) {
      error = path + ": the picture is " + std::to_string(entry.Width) + " x " +
              std::to_string(entry.Height) + " pixels; the game needs at least " +
              std::to_string(need.width) + " x " + std::to_string(need.height);
      return false;
    }
    return true;
  };
  game::GameGraphics graphics;
  graphics.surfaces = &surfaces_;
  graphics.cache = &cache_;
  graphics.FrontDC = front_dc_;
  if (!load(kBackPicture, graphics.BackBitmap)) return false;
  if (!load(kBlocksPicture, graphics.BlocksBitmap)) return false;
  if (!load(kGridPicture, graphics.GridBitmap)) return false;
  game_.SetGraphics(graphics);
  game_.Cells().Clear();
  game_.NewGame();
  return true;
}

void App::ShutDown() {
  cache_.ReleaseBitmaps();
  surfaces_.Destroy(front_dc_);
  host_.EndProgram(0);
  std::abort();  // not reached: the host ends the program
}

std::int64_t App::TickCount() {
  return host_.TickCount();
}

void App::Wait(std::int32_t ms) {
  // Returns once at least ms milliseconds have passed since the call; window
  // events stay queued meanwhile.
  const std::int64_t start = host_.TickCount();
  host_.WaitUntil(start + ms, ms);
}

float App::NextRandom() {
  return host_.NextRandom();
}
void App::ReseedRandom() {
  host_.ReseedRandom();
}
void App::RefreshFront() {
  host_.RefreshFront();
}

void App::SetCaption(game::Control c, const std::string& text) {
  form_[c].Caption = text;
  host_.ControlChanged(c, ControlChange::Caption);
}

void App::SetTag(game::Control c, const std::string& tag) {
  form_[c].Tag = tag;
  host_.ControlChanged(c, ControlChange::Tag);
}

void App::SetVisible(game::Control c, bool visible) {
  form_[c].Visible = visible;
  host_.ControlChanged(c, ControlChange::Visible);
}

void App::SetTextColor(game::Control c, gfx::Color color) {
  form_[c].TextColor = color;
  host_.ControlChanged(c, ControlChange::Color);
}

}  // namespace orvo::app
