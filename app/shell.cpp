// The shell's services to the application, its start-up and its event loop.
#include "app/shell.h"

#include <cstdlib>

#include "app/state_dump.h"
#include "gfx/file_lookup.h"

namespace orvo::app {

std::string WithSeparator(std::string folder, char separator) {
  if (folder.empty() || folder.back() != separator) folder += separator;
  return folder;
}

Shell::Shell(Platform& platform) : platform_(platform), composer_(platform.Text()), app_(*this) {}

void Shell::Run() {
  StartUp();
  RunEventLoop();
}

std::string Shell::CheckPath(const std::string& folder) {
  if (!platform_.HoldsOrdinaryFile(folder)) Fail("Path not found: " + folder);
  return folder;
}

void Shell::StartUp() {
  const char separator = platform_.FolderSeparator();
  const std::string appPath = CheckPath(WithSeparator(platform_.ProgramFolder(), separator));
  // The pictures are loaded before the window exists, so that a broken one
  // is reported without a window ever appearing.
  LoadGame(appPath + "Graphics" + separator);
  gfx::Surface background;
  std::string error;
  if (!platform_.OpenWindow(background, error)) Fail(error);
  composer_.SetBackground(std::move(background));
  shown_ = true;
  pending_ = false;
  platform_.ShowWindow(Frame());
}

void Shell::LoadGame(const std::string& graphicsFolder) {
  const std::string folder = CheckPath(WithSeparator(graphicsFolder, platform_.FolderSeparator()));
  std::string error;
  if (!app_.StartUp(folder, error)) Fail(error);
}

void Shell::RunEventLoop() {
  for (;;) {
    platform_.SleepUntilEvent(kNothingDue);
    for (InputEvent event; platform_.PollEvent(event);) Deliver(event);
    ShowPending();
  }
}

void Shell::Fail(const std::string& text) {
  platform_.ShowFatalMessage(kErrorTitle, text);
  platform_.EndProgram(1);
  std::abort();  // not reached: the platform ends the program
}

void Shell::EndProgram(int status) {
  platform_.EndProgram(status);
  std::abort();  // not reached
}

const gfx::Surface& Shell::Frame() {
  return composer_.Compose(app_.View());
}

int Shell::ActionAt(int x, int y) {
  return composer_.ActionAt(app_.View(), x, y);
}

TextBox Shell::BoxOf(game::Control c) {
  return composer_.BoxOf(app_.View(), c);
}

std::string Shell::StateDump() {
  const FrameView view = app_.View();
  return app::StateDump(app_.Rules(), view.Labels, platform_.TickCount(), random_used_);
}

float Shell::NextRandom() {
  ++random_used_;
  return platform_.NextRandom();
}

void Shell::Present() {
  // Nothing is shown before the window is (start-up sets the labels first).
  if (!shown_) return;
  pending_ = false;
  platform_.PresentFrame(Frame());
}

void Shell::ShowPending() {
  if (pending_) Present();
}

void Shell::RefreshFront() {
  const FrameView view = app_.View();
  if (view.Board) observer_->Refreshed(*view.Board);
  Present();
}

void Shell::ControlChanged(game::Control c, game::ControlChange what,
                           const game::LabelState& label) {
  observer_->LabelSet(c, what, label);
  switch (RefreshFor(what)) {
    case LabelRefresh::Now:
      Present();
      break;
    case LabelRefresh::AtNextEvents:
      pending_ = true;
      break;
    case LabelRefresh::Never:
      break;
  }
}

void Shell::WaitUntil(std::int64_t deadline, std::int32_t ms) {
  observer_->Waiting(ms);
  // Only a request to close the window ends a wait early: the program ends
  // at once, in the middle of the cascade.
  if (!platform_.WaitUntil(deadline)) app_.Form_Unload();
}

void Shell::ProcessEvents(std::int64_t nextDue) {
  platform_.ProcessEvents(nextDue, *this);
}

}  // namespace orvo::app
