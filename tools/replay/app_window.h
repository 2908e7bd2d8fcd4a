// The replayed window: hands scenario events to the App's handlers and
// applies the commands that reach into the game.
#pragma once

#include "app/app.h"
#include "tools/replay/replay_host.h"
#include "tools/replay/scenario_engine.h"

namespace orvo::replay {

class AppWindow : public ReplayWindow {
 public:
  AppWindow(app::App& app, ReplayHost& host) : app_(app), host_(host) {}

  void Deliver(const Event& event) override;
  void Apply(const Command& command) override;

 private:
  void Let(Variable variable, std::int64_t amount);
  void Snapshot(const std::string& file);

  app::App& app_;
  ReplayHost& host_;
};

}  // namespace orvo::replay
