// The application object: start-up, shutdown and the view a platform draws.
#include "app/app.h"

#include <cstdlib>

#include "gfx/file_lookup.h"
#include "gfx/library_codecs.h"

namespace orvo::app {

namespace {

using game::kFrontHeight;
using game::kFrontWidth;

// Each picture must cover the rectangles that the drawing reads from it: the
// board's background the whole board, the sprite sheet every value and
// animation frame, the grid tile one pixel at least.
struct PictureNeed {
  const char* file;
  bool mask;
  std::int32_t width;
  std::int32_t height;
};
constexpr PictureNeed kBackPicture{"GameBack.jpg", false, kFrontWidth, kFrontHeight};
constexpr PictureNeed kBlocksPicture{"Blocks.gif", true, game::kSheetWidth, game::kSheetHeight};
constexpr PictureNeed kGridPicture{"Grid.gif", false, 1, 1};

}  // namespace

App::App(AppServices& services) : services_(services), labels_(services), game_(services, labels_) {
  for (int i = 0; i < game::kControlCount; ++i) {
    const auto c = static_cast<game::Control>(i);
    const ControlData& d = form_[c];
    labels_.Initialize(c, game::LabelState{d.Caption, d.Tag, d.Visible, d.TextColor});
  }
}

bool App::StartUp(const std::string& graphicsPath, std::string& error) {
  cache_.InitBitmaps(surfaces_, services_.Files(), gfx::LibraryDecoder());
  front_dc_ = surfaces_.Create(kFrontWidth, kFrontHeight);

  // A missing, unreadable or too small picture is reported here, at
  // start-up, rather than left to break the drawing later.
  const auto load = [&](const PictureNeed& need, std::int32_t& index) {
    const std::string path = graphicsPath + need.file;
    index = cache_.LoadBitmap(path, need.mask);
    if (index < 0) {
      if (!gfx::FindOrdinaryFile(services_.Files(), path)) {
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
  services_.EndProgram(0);
  std::abort();  // not reached: the platform ends the program
}

FrameView App::View() const {
  return FrameView{surfaces_.Get(front_dc_), form_, labels_};
}

}  // namespace orvo::app
