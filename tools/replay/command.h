// One line of a scenario, parsed: the commands and window events of the
// replay language.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::replay {

// Times (clock values) must lie in 0..kMaxTime, so that no sum of a time and
// an interval of the game can overflow.
inline constexpr std::int64_t kMaxTime = (std::int64_t{1} << 53) - 1;

enum class EventKind {
  KeyDown,
  KeyUp,
  Click,
  MouseDown,
  MouseUp,
  PointerDown,
  PointerUp,
  Paint,
  Close
};

// The range of a pointer event's window coordinates.
inline constexpr int kMinPointerCoordinate = -32768;
inline constexpr int kMaxPointerCoordinate = 32767;

struct Event {
  EventKind kind = EventKind::Paint;
  int arg = 0;  // key code or caption index
  int x = 0;    // a pointer event's place in window coordinates
  int y = 0;
};

enum class CommandKind { Tick, Random, Seed, At, Run, Set, Let, Land, Dump, Trace, Snapshot };

// What `trace` prints: nothing (off), one line per traced operation (on), or
// those lines with each refresh's board digest (frames).
enum class TraceMode { Off, On, Frames };

// The game variables that `let` can set.
enum class Variable {
  Level,
  Points,
  MaxReactions,
  Reactions,
  Cleared,
  Bombs,
  NextBombPoints,
  PairX,
  PairY,
  LastSlideTime,
  PairActive,
  Running,
};

struct Command {
  CommandKind kind = CommandKind::Dump;
  std::int64_t line = 0;       // scenarios may be longer than 2^31 lines
  std::int64_t time = 0;       // tick T, at T, run T; run +D: D
  bool relative = false;       // run +D
  std::vector<float> numbers;  // random
  std::int64_t seed = 0;       // seed
  Event event;                 // at
  int column = 0;              // set
  int row = 0;
  int value = 0;
  Variable variable = Variable::Level;  // let
  std::int64_t amount = 0;
  TraceMode trace = TraceMode::Off;  // trace
  std::string file;                  // snapshot
};

// Parses one line. nullopt for a blank or comment-only line; throws
// ReplayError (with `line`) for a malformed one.
std::optional<Command> ParseCommand(std::string_view text, std::int64_t line);

}  // namespace orvo::replay
