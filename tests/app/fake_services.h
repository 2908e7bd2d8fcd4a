// The application's services (what the window shell gives it) with a clock
// the test controls, scripted batches of window events, and a record of
// what the application and the rules asked for.
#pragma once

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "app/app_services.h"
#include "platform/headless/headless_platform.h"
#include "tests/gfx/disk_files.h"

namespace orvo_test {

using orvo::game::Control;
using orvo::game::ControlChange;

// Thrown by EndProgram, which must not return.
struct ProgramEnded {
  int status;
};

class FakeServices : public orvo::app::AppServices {
 public:
  orvo_test::DiskFiles files;
  std::int64_t now = 100000;
  int tickReads = 0;
  std::vector<std::pair<std::int64_t, std::int32_t>> waits;  // (deadline, ms)
  std::vector<std::int64_t> nextDues;                        // one per ProcessEvents
  // One batch of window events per ProcessEvents call, in order. When none is
  // left the batch stops the game, so that a faulty loop cannot spin forever.
  std::deque<std::function<void()>> batches;
  int processCalls = 0;
  int unscriptedCalls = 0;
  int refreshes = 0;
  int reseeds = 0;
  int randomsTaken = 0;
  int startsIgnored = 0;
  std::vector<std::pair<Control, ControlChange>> changes;
  orvo::app::App* app = nullptr;

  std::int64_t TickCount() override {
    ++tickReads;
    return now;
  }
  void WaitUntil(std::int64_t deadline, std::int32_t ms) override {
    waits.emplace_back(deadline, ms);
    if (now < deadline) now = deadline;
  }
  void ProcessEvents(std::int64_t nextDue) override {
    ++processCalls;
    nextDues.push_back(nextDue);
    if (!batches.empty()) {
      auto batch = std::move(batches.front());
      batches.pop_front();
      batch();
      return;
    }
    ++unscriptedCalls;
    if (app != nullptr) app->Rules().State().Running = false;
  }
  float NextRandom() override {
    // A rule that draws without end would hang the test program instead.
    if (++randomsTaken > 100000) throw std::runtime_error("endless drawing from the random source");
    return 0.0f;
  }
  void ReseedRandom() override { ++reseeds; }
  void RefreshFront() override { ++refreshes; }
  void ControlChanged(Control c, ControlChange what, const orvo::game::LabelState&) override {
    changes.emplace_back(c, what);
  }
  const orvo::gfx::FileReader& Files() override { return files; }
  [[noreturn]] void EndProgram(int status) override { throw ProgramEnded{status}; }
  void StartClickIgnored() override { ++startsIgnored; }
};

// An application on the fake host, with a pair under control at (5, 2).
struct AppRig {
  FakeServices host;
  orvo::app::App app{host};

  AppRig() { host.app = &app; }
  orvo::game::GameState& State() { return app.Rules().State(); }
  orvo::game::Board& Cells() { return app.Rules().Cells(); }
  orvo::app::KeyTable& Keys() { return app.Keys(); }
  const orvo::game::LabelState& Label(Control c) { return app.View().Labels[c]; }
  void SetTag(Control c, const std::string& tag) { app.Labels().SetTag(c, tag); }
  void SetCaption(Control c, const std::string& text) { app.Labels().SetCaption(c, text); }

  // A running game with the pair 1, 2 at (x, y), no picture drawing.
  void PairAt(int x, int y, int level = 1) {
    auto& s = State();
    s.Running = true;
    s.PairActive = true;
    s.Level = level;
    s.PairX = x;
    s.PairY = y;
    s.LastSlideTime = host.now;
    Cells().Clear();
    Cells()(x, y) = 1;
    Cells()(x + 1, y) = 2;
  }
};

}  // namespace orvo_test
