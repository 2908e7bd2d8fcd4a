// The replayed window: hands scenario events to the shell (or, for the
// caption events by index, straight to the handlers) and applies the
// commands that reach into the game.
#pragma once

#include <string>

#include "app/shell.h"
#include "tools/replay/replay_platform.h"
#include "tools/replay/scenario_engine.h"

namespace orvo::replay {

class AppWindow : public ReplayWindow {
 public:
  // Snapshots go below `snapshotFolder` (empty: the current folder).
  AppWindow(app::Shell& shell, ReplayPlatform& host, std::string snapshotFolder = {})
      : shell_(shell),
        app_(shell.Application()),
        host_(host),
        snapshot_folder_(std::move(snapshotFolder)) {}

  void Deliver(const Event& event) override;
  void Apply(const Command& command) override;

 private:
  void Let(Variable variable, std::int64_t amount);
  void Snapshot(const std::string& file);

  app::Shell& shell_;
  app::App& app_;
  ReplayPlatform& host_;
  std::string snapshot_folder_;
};

}  // namespace orvo::replay
