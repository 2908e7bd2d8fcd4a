#include "tools/replay/app_window.h"

#include <string>

#include "tools/replay/png_file.h"
#include "tools/replay/replay_error.h"
#include "tools/replay/snapshot_path.h"

namespace orvo::replay {

void AppWindow::Deliver(const Event& event) {
  using app::InputEvent;
  using Kind = InputEvent::Kind;
  switch (event.kind) {
    case EventKind::KeyDown:
      shell_.Deliver(InputEvent::KeyEvent(Kind::KeyDown, app::Key{event.arg}));
      break;
    case EventKind::KeyUp:
      shell_.Deliver(InputEvent::KeyEvent(Kind::KeyUp, app::Key{event.arg}));
      break;
    case EventKind::PointerDown:
      shell_.Deliver(InputEvent::Pointer(Kind::PointerDown, event.x, event.y));
      break;
    case EventKind::PointerUp:
      shell_.Deliver(InputEvent::Pointer(Kind::PointerUp, event.x, event.y));
      break;
    case EventKind::Paint:
      shell_.Deliver(InputEvent::Of(Kind::Expose));
      break;
    case EventKind::Close:
      shell_.Deliver(InputEvent::Of(Kind::Close));
      break;
    // The caption's own events by index reach its handlers directly,
    // without the window's press logic.
    case EventKind::Click:
      app_.lblAction_Click(event.arg);
      break;
    case EventKind::MouseDown:
      app_.lblAction_MouseDown(event.arg);
      break;
    case EventKind::MouseUp:
      app_.lblAction_MouseUp(event.arg);
      break;
  }
}

void AppWindow::Apply(const Command& command) {
  switch (command.kind) {
    case CommandKind::Set:
      app_.Rules().Cells()(command.column, command.row) = command.value;
      break;
    case CommandKind::Let:
      Let(command.variable, command.amount);
      break;
    case CommandKind::Land:
      app_.Rules().Land();
      break;
    case CommandKind::Dump:
      host_.Output().Line(shell_.StateDump());
      break;
    case CommandKind::Snapshot:
      Snapshot(command.file);
      break;
    default:
      break;
  }
}

void AppWindow::Let(Variable variable, std::int64_t amount) {
  game::GameState& s = app_.Rules().State();
  // The parser has checked the range of each variable.
  auto n = static_cast<std::int32_t>(amount);
  switch (variable) {
    case Variable::Level:
      s.Level = n;
      break;
    case Variable::Points:
      s.Points = n;
      break;
    case Variable::MaxReactions:
      s.MaxReactions = n;
      break;
    case Variable::Reactions:
      s.Reactions = n;
      break;
    case Variable::Cleared:
      s.Cleared = n;
      break;
    case Variable::Bombs:
      s.Bombs = n;
      break;
    case Variable::NextBombPoints:
      s.NextBombPoints = n;
      break;
    case Variable::PairX:
      s.PairX = n;
      break;
    case Variable::PairY:
      s.PairY = n;
      break;
    case Variable::LastSlideTime:
      s.LastSlideTime = amount;
      break;
    case Variable::PairActive:
      s.PairActive = amount != 0;
      break;
    case Variable::Running:
      s.Running = amount != 0;
      break;
  }
}

void AppWindow::Snapshot(const std::string& file) {
  const gfx::Surface* front = app_.View().Board;
  if (front == nullptr) throw ReplayError("snapshot: the board surface does not exist");
  CheckSnapshotPath(file);
  WritePngFile(*front, snapshot_folder_.empty() ? file : snapshot_folder_ + "/" + file, file);
}

}  // namespace orvo::replay
