#include "tools/replay/replay_runner.h"

#include <exception>

#include "app/shell.h"
#include "tools/replay/app_window.h"
#include "tools/replay/printable_text.h"
#include "tools/replay/replay_error.h"
#include "tools/replay/replay_platform.h"
#include "tools/replay/scenario_engine.h"
#include "tools/replay/scenario_reader.h"

namespace orvo::replay {

std::string ErrorLine(std::int64_t line, const std::string& reason) {
  return "orvo-replay: line " + std::to_string(line) + ": " + PrintableText(reason);
}

int RunReplay(std::istream& scenario, const ReplayOptions& options, LineWriter& out,
              std::string& error) {
  ReplayPlatform host(out);
  app::Shell shell(host);
  shell.SetObserver(&host);
  shell.SetRandomNumbers(&host);
  AppWindow window(shell, host, options.snapshotFolder);
  ScenarioReader reader(scenario);
  if (options.interactive) reader.BeforeRead([&out] { out.Flush(); });
  ScenarioEngine engine(reader, host, window);
  engine.LimitDueTurns(options.maxDueTurns);
  shell.SetEventPump(&engine);

  int status = 2;
  const auto fail = [&](std::int64_t line, const std::string& reason) {
    status = 2;
    // The first failure is the one reported.
    if (error.empty()) error = ErrorLine(line, reason);
  };
  const auto line_of = [&](const ReplayError& e) {
    return e.Line() == ReplayError::kCurrentLine ? engine.CurrentLine() : e.Line();
  };
  try {
    // The game's own start-up, up to the window: the same folder test and
    // messages (which fail the replay at line 0).
    shell.LoadGame(options.graphicsDir);
    engine.Run();
  } catch (const ProgramEnd& end) {
    status = end.status;
  } catch (const ReplayError& e) {
    fail(line_of(e), e.Reason());
  } catch (const std::exception& e) {
    // A grid access outside the grid, made possible by `set` and `let`.
    fail(engine.CurrentLine(), e.what());
  }
  // What was printed before a failure stays; output that cannot be written
  // out is itself a failure, reported with the last command's line.
  try {
    out.Close();
  } catch (const ReplayError& e) {
    fail(line_of(e), e.Reason());
  }
  return status;
}

}  // namespace orvo::replay
