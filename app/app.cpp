// The application object: start-up, shutdown and the services the rules use.
#include "app/app.h"

#include <cstdlib>

#include "gfx/file_lookup.h"

namespace orvo::app {

namespace {

constexpr int kFrontWidth = 480;
constexpr int kFrontHeight = 288;

}  // namespace

App::App(Host& host) : host_(host), game_(*this) {}

bool App::StartUp(const std::string& graphicsPath, std::string& error) {
  cache_.InitBitmaps(surfaces_);
  front_dc_ = surfaces_.Create(kFrontWidth, kFrontHeight);

  // A missing or unreadable picture is reported here, at start-up, rather
  // than left to break the drawing later.
  const auto load = [&](const char* file, bool mask, std::int32_t& index) {
    const std::string path = graphicsPath + file;
    index = cache_.LoadBitmap(path, mask);
    if (index >= 0) return true;
    if (!gfx::FindOrdinaryFile(path)) {
      error = "Path not found: " + path;
    } else {
      error = cache_.LastError().empty() ? "Cannot load picture " + path : cache_.LastError();
    }
    return false;
  };
  game::GameGraphics graphics;
  graphics.surfaces = &surfaces_;
  graphics.cache = &cache_;
  graphics.FrontDC = front_dc_;
  if (!load("GameBack.jpg", false, graphics.BackBitmap)) return false;
  if (!load("Blocks.gif", true, graphics.BlocksBitmap)) return false;
  if (!load("Grid.gif", false, graphics.GridBitmap)) return false;
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
