// The shell's services to the application, its start-up, its event loop
// and its waits.
#include "app/shell.h"

#include <cstdlib>
#include <random>

#include "app/test_hooks.h"
#include "gfx/file_lookup.h"

namespace orvo::app {

namespace {

// A seed from the system's entropy source.
std::uint32_t EntropySeed() {
  return std::random_device()();
}

}  // namespace

char SeparatorOf(const std::string& folder) {
  return !folder.empty() && folder.back() == '\\' ? '\\' : '/';
}

std::string WithSeparator(std::string folder, char separator) {
  if (folder.empty() || folder.back() != separator) folder += separator;
  return folder;
}

Shell::Shell(Platform& platform, std::optional<std::uint32_t> seed)
    : platform_(platform),
      random_(seed.value_or(EntropySeed())),
      fixed_seed_(seed.has_value()),
      composer_(platform.Text()),
      app_(*this) {}

void Shell::Run() {
  const TestHooks hooks = TestHooks::FromEnvironment();
  if (hooks.seed) {
    random_.Seed(*hooks.seed);
    fixed_seed_ = true;
  }
  // Lives as long as the program: Run never returns.
  HookFiles files(*this, hooks);
  if (files.Active()) SetObserver(&files);
  StartUp();
  RunEventLoop();
}

std::string Shell::CheckPath(const std::string& folder) {
  if (!gfx::HoldsOrdinaryFile(platform_, folder)) Fail("Path not found: " + folder);
  return folder;
}

void Shell::StartUp() {
  const std::string programFolder = platform_.ProgramFolder();
  const char separator = SeparatorOf(programFolder);
  const std::string appPath = CheckPath(WithSeparator(programFolder, separator));
  // The pictures are loaded before the window exists, so that a broken one
  // is reported without a window ever appearing.
  LoadGame(appPath + "Graphics" + separator);
  gfx::Surface background;
  std::string error;
  if (!platform_.OpenWindow(background, error)) Fail(error);
  composer_.SetBackground(std::move(background));
  shown_ = true;
  Present();
}

void Shell::LoadGame(const std::string& graphicsFolder) {
  const std::string folder = CheckPath(WithSeparator(graphicsFolder, SeparatorOf(graphicsFolder)));
  std::string error;
  if (!app_.StartUp(folder, error)) Fail(error);
}

void Shell::RunEventLoop() {
  for (;;) {
    if (queue_.Empty()) {
      if (const std::optional<InputEvent> event = Take(kNothingDue)) {
        queue_.Add(*event);
      }
    }
    DeliverBatch();
  }
}

std::optional<InputEvent> Shell::Take(std::int64_t deadline) {
  std::optional<InputEvent> event = platform_.WaitForEvent(deadline);
  if (event) observer_->Taken(*event);
  return event;
}

void Shell::TakeArrived() {
  while (const std::optional<InputEvent> event = Take(kNoWait)) {
    queue_.Add(*event);
  }
}

void Shell::DeliverBatch() {
  for (;;) {
    TakeArrived();
    const std::optional<InputEvent> event = queue_.Next();
    if (!event) break;
    observer_->Delivered(*event);
    Deliver(*event);
  }
  queue_.EndBatch();
  ShowPending();
  observer_->BatchDelivered();
}

void Shell::Fail(const std::string& text) {
  platform_.ShowFatalMessage(kErrorTitle, text);
  observer_->Ending();
  platform_.EndProgram(1);
  std::abort();  // not reached: the platform ends the program
}

void Shell::EndProgram(int status) {
  observer_->Ending();
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

float Shell::NextRandom() {
  ++random_used_;
  return numbers_ ? numbers_->Next() : random_.Next();
}

void Shell::ReseedRandom() {
  // A fixed seed's numbers run on from game to game.
  if (!fixed_seed_) random_.Seed(EntropySeed());
}

void Shell::Present() {
  // Nothing is shown before the window is (start-up sets the labels first).
  if (!shown_) return;
  pending_ = false;
  platform_.PresentFrame(Frame());
  observer_->Presented();
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
  // The events that arrive meanwhile wait in the queue until the cascade is
  // over. Only a request to close the window ends a wait early: the program
  // ends at once, in the middle of the cascade.
  while (const std::optional<InputEvent> event = Take(deadline)) {
    if (event->kind == InputEvent::Kind::Close) app_.Form_Unload();
    queue_.Add(*event);
  }
}

void Shell::ProcessEvents(std::int64_t nextDue) {
  if (pump_) return pump_->ProcessEvents(nextDue);
  // After an event the loop's next turn may have something to do at once;
  // with none, sleep until one comes or the loop has something due.
  TakeArrived();
  if (queue_.Empty()) {
    if (const std::optional<InputEvent> event = Take(nextDue)) {
      queue_.Add(*event);
    }
  }
  DeliverBatch();
}

}  // namespace orvo::app
