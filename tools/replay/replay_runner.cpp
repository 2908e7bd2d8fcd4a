#include "tools/replay/replay_runner.h"

#include <exception>

#include "app/app.h"
#include "gfx/file_lookup.h"
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
  app::App app(host);
  host.SetBoardSource([&app] { return app.View().Board; });
  AppWindow window(app, host, options.snapshotFolder);
  ScenarioReader reader(scenario);
  if (options.interactive) reader.BeforeRead([&out] { out.Flush(); });
  ScenarioEngine engine(reader, host, window);
  engine.LimitDueTurns(options.maxDueTurns);
  host.SetEventPump(&engine);

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
    // The same folder test and message as the game's own start-up.
    if (!gfx::HoldsOrdinaryFile(options.graphicsDir)) {
      throw ReplayError("Path not found: " + options.graphicsDir, 0);
    }
    std::string why;
    if (!app.StartUp(options.graphicsDir, why)) throw ReplayError(why, 0);
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
