// The window shell: what every platform's window does the same way, written
// once. It runs the application on a platform (platform.h): it keeps the
// one queue of input events and hands them to the window's event handlers
// in batches (with the caption press and click, and the rules of
// input_queue.h), waits, owns the random source and its seeding, shows
// label changes when the window would, composes every frame, dumps the
// state and runs the start-up sequence.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/app.h"
#include "app/app_services.h"
#include "app/frame_composer.h"
#include "app/input_queue.h"
#include "app/platform.h"
#include "app/state_dump.h"
#include "game/random_generator.h"

namespace orvo::app {

inline constexpr char kErrorTitle[] = "Error loading game";

// Looks on at what the game asks of the window, for a runner that traces
// it. Every function has an empty default.
class ShellObserver {
 public:
  virtual ~ShellObserver() = default;
  // A wait of `ms` milliseconds begins.
  virtual void Waiting(std::int32_t /*ms*/) {}
  // The board view was refreshed; `board` is the board surface now.
  virtual void Refreshed(const gfx::Surface& /*board*/) {}
  // A label's caption, tag, visibility or colour was set.
  virtual void LabelSet(game::Control /*c*/, game::ControlChange /*what*/,
                        const game::LabelState& /*label*/) {}
  // A Start click was ignored at the bound of nested game loops.
  virtual void StartClickIgnored() {}
  // A frame was presented.
  virtual void Presented() {}
  // The platform handed `event` to the shell's queue.
  virtual void Taken(const InputEvent& /*event*/) {}
  // `event` goes to the window's handlers now.
  virtual void Delivered(const InputEvent& /*event*/) {}
  // A batch of input events has been handed out (perhaps none).
  virtual void BatchDelivered() {}
  // The program ends now.
  virtual void Ending() {}
};

// Runs the window's event processing in place of the platform's events: a
// replay's scenario engine.
class EventPump {
 public:
  virtual ~EventPump() = default;
  // `nextDue` as the game loop passes it to the event processing.
  virtual void ProcessEvents(std::int64_t nextDue) = 0;
};

// The game's random numbers from elsewhere than the shell's own generator:
// a replay's scenario.
class RandomNumbers {
 public:
  virtual ~RandomNumbers() = default;
  // Uniform single-precision numbers in [0, 1).
  virtual float Next() = 0;
};

class Shell : public AppServices {
 public:
  // `seed`: the random source's seed, fixed (a test's); without one it is
  // seeded from the system's entropy, and again for every new game.
  explicit Shell(Platform& platform, std::optional<std::uint32_t> seed = std::nullopt);
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;

  // The whole program: the test hooks the environment asks for
  // (test_hooks.h), StartUp, then the window's idle event loop.
  [[noreturn]] void Run();
  // The folder checks, the pictures, the window: the program's folder must
  // hold a file, its Graphics/ folder too, the three pictures must load,
  // the window must open; otherwise the fatal message, and the program ends
  // with status 1. Then the window is shown.
  void StartUp();
  // Only the pictures and the game, from `graphicsFolder` (the runner's
  // start-up, with no window): fails as StartUp does.
  void LoadGame(const std::string& graphicsFolder);
  // Waits for events and hands them out, for as long as the program runs.
  [[noreturn]] void RunEventLoop();

  // One input event, as the window's handlers take it, past the queue.
  void Deliver(const InputEvent& event);
  // Shows the label changes that wait for the next event processing.
  void ShowPending();
  // The fatal message under kErrorTitle, then the end with status 1.
  [[noreturn]] void Fail(const std::string& text);

  // The window's picture as it would be shown now (composed anew).
  const gfx::Surface& Frame();
  // The index of the lblAction caption whose text is under (x, y), or -1.
  int ActionAt(int x, int y);
  // Where `c`'s text lies in the window (empty when it has none).
  TextBox BoxOf(game::Control c);
  // The game's state as one line of JSON (state_dump.h). Written here, so
  // that only a program that asks for it links the JSON writer (the
  // orvo_state_dump library): the replay runner, the tests and the dump
  // hook of a build with the dump (dump_hook.h); the shell itself never does.
  std::string StateDump() {
    return app::StateDump(app_.Rules(), app_.View().Labels, platform_.TickCount(), random_used_);
  }
  // How many numbers the game has taken from the random source.
  std::uint64_t RandomUsed() const { return random_used_; }

  App& Application() { return app_; }
  const App& Application() const { return app_; }
  void SetObserver(ShellObserver* observer) { observer_ = observer ? observer : &no_observer_; }
  // The event processing runs `pump` instead of the platform's events (null:
  // the platform's again).
  void SetEventPump(EventPump* pump) { pump_ = pump; }
  // The game's random numbers come from `numbers` (null: the shell's own).
  void SetRandomNumbers(RandomNumbers* numbers) { numbers_ = numbers; }

  // AppServices, for the application and the rules.
  std::int64_t TickCount() override { return platform_.TickCount(); }
  float NextRandom() override;
  void ReseedRandom() override;
  void RefreshFront() override;
  void ControlChanged(game::Control c, game::ControlChange what,
                      const game::LabelState& label) override;
  void WaitUntil(std::int64_t deadline, std::int32_t ms) override;
  void ProcessEvents(std::int64_t nextDue) override;
  const gfx::FileReader& Files() override { return platform_; }
  [[noreturn]] void EndProgram(int status) override;
  void StartClickIgnored() override { observer_->StartClickIgnored(); }

 private:
  // The folder when it holds an ordinary file (as the platform lists it);
  // otherwise fails with "Path not found: " and the folder.
  std::string CheckPath(const std::string& folder);
  // Composes the window and presents it, once the window is shown.
  void Present();
  void PointerDown(int x, int y);
  void PointerUp(int x, int y);
  // The platform's next event, as WaitForEvent gives it, noted by the
  // observer.
  std::optional<InputEvent> Take(std::int64_t deadline);
  // Queues the events that have arrived, without waiting.
  void TakeArrived();
  // Hands out the queued events, those arriving meanwhile too, then shows
  // what waits to be shown.
  void DeliverBatch();

  Platform& platform_;
  ShellObserver no_observer_;
  ShellObserver* observer_ = &no_observer_;
  EventPump* pump_ = nullptr;
  RandomNumbers* numbers_ = nullptr;
  InputQueue queue_;
  game::RandomGenerator random_;
  bool fixed_seed_ = false;
  bool shown_ = false;
  bool pending_ = false;     // a change that the next event processing shows
  int pressed_action_ = -1;  // the caption that took the pointer's press
  std::uint64_t random_used_ = 0;
  FrameComposer composer_;
  // Last: its construction already reports the labels' first values here.
  App app_;
};

// When the window shows a label's change: a caption at once (the rules set
// captions in the middle of a cascade and expect them seen), visibility and
// colour at the next event processing, a tag never (it is not drawn).
enum class LabelRefresh { Now, AtNextEvents, Never };
constexpr LabelRefresh RefreshFor(game::ControlChange what) {
  switch (what) {
    case game::ControlChange::Caption:
      return LabelRefresh::Now;
    case game::ControlChange::Visible:
    case game::ControlChange::Color:
      return LabelRefresh::AtNextEvents;
    case game::ControlChange::Tag:
      break;
  }
  return LabelRefresh::Never;
}

// The separator of the paths the player sees, as `folder` ends: "\" on
// Windows, "/" everywhere else.
char SeparatorOf(const std::string& folder);
// `folder` with `separator` at its end (unchanged when it already has one).
std::string WithSeparator(std::string folder, char separator = '/');

}  // namespace orvo::app
