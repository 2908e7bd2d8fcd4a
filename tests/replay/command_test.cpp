// The scenario language: what each line parses to, and which lines are
// refused with which message.
#include "tools/replay/command.h"

#include <gtest/gtest.h>

#include <ios>
#include <sstream>
#include <streambuf>
#include <system_error>
#include <vector>

#include "tools/replay/replay_error.h"
#include "tools/replay/scenario_reader.h"

namespace orvo::replay {
namespace {

Command Parse(const std::string& text) {
  std::optional<Command> c = ParseCommand(text, 7);
  EXPECT_TRUE(c.has_value()) << text;
  return c.value_or(Command{});
}

// The message of the error that `text` raises, with its line checked.
std::string ErrorOf(const std::string& text) {
  try {
    ParseCommand(text, 12);
  } catch (const ReplayError& e) {
    EXPECT_EQ(e.Line(), 12) << text;
    return e.what();
  }
  ADD_FAILURE() << "no error for: " << text;
  return "";
}

TEST(CommandParse, BlankAndCommentLinesAreSkipped) {
  EXPECT_FALSE(ParseCommand("", 1));
  EXPECT_FALSE(ParseCommand("   \t\r", 1));
  EXPECT_FALSE(ParseCommand("# a comment", 1));
  EXPECT_FALSE(ParseCommand("   # indented comment", 1));
  // A comment may follow a command.
  Command c = Parse("run 2000 # then look");
  EXPECT_EQ(c.kind, CommandKind::Run);
  EXPECT_EQ(c.time, 2000);
  EXPECT_EQ(c.line, 7);
}

TEST(CommandParse, ClockCommands) {
  Command tick = Parse("tick 0");
  EXPECT_EQ(tick.kind, CommandKind::Tick);
  EXPECT_EQ(tick.time, 0);

  Command absolute = Parse("run 123456");
  EXPECT_FALSE(absolute.relative);
  EXPECT_EQ(absolute.time, 123456);

  Command relative = Parse("run\t+250");
  EXPECT_TRUE(relative.relative);
  EXPECT_EQ(relative.time, 250);

  EXPECT_EQ(ErrorOf("run -5"), "time out of range (0 to 9007199254740991): -5");
  EXPECT_EQ(ErrorOf("run +-5"), "not a number: \"+-5\"");
  EXPECT_EQ(ErrorOf("run +"), "not a number: \"+\"");
  EXPECT_EQ(ErrorOf("run"), "usage: run T, or run +D");
  EXPECT_EQ(ErrorOf("tick 1.5"), "not a number: \"1.5\"");
  EXPECT_EQ(ErrorOf("tick 99999999999999999999"), "number too large: 99999999999999999999");
  EXPECT_EQ(ErrorOf("tick 0x10"), "not a number: \"0x10\"");
}

TEST(CommandParse, Events) {
  struct Case {
    const char* text;
    EventKind kind;
    int arg;
  };
  for (const Case& c :
       {Case{"at 10 keydown 37", EventKind::KeyDown, 37},
        Case{"at 10 keyup 255", EventKind::KeyUp, 255}, Case{"at 10 click 1", EventKind::Click, 1},
        Case{"at 10 mousedown 0", EventKind::MouseDown, 0},
        Case{"at 10 mouseup 1", EventKind::MouseUp, 1}, Case{"at 10 paint", EventKind::Paint, 0},
        Case{"at 10 close", EventKind::Close, 0}}) {
    Command cmd = Parse(c.text);
    EXPECT_EQ(cmd.kind, CommandKind::At) << c.text;
    EXPECT_EQ(cmd.time, 10) << c.text;
    EXPECT_EQ(cmd.event.kind, c.kind) << c.text;
    EXPECT_EQ(cmd.event.arg, c.arg) << c.text;
  }
  EXPECT_EQ(ErrorOf("at 10 keydown 256"), "key code out of range (0 to 255): 256");
  EXPECT_EQ(ErrorOf("at 10 keydown -1"), "key code out of range (0 to 255): -1");
  EXPECT_EQ(ErrorOf("at 10 click 2"), "caption index out of range (0 to 1): 2");
  EXPECT_EQ(ErrorOf("at 10 paint 1"), "usage: at T paint");
  EXPECT_EQ(ErrorOf("at 10 keydown"), "usage: at T keydown CODE");
  EXPECT_EQ(ErrorOf("at 10 doubleclick 0"), "unknown event \"doubleclick\"");
  EXPECT_EQ(ErrorOf("at 10"), "usage: at T EVENT");
  EXPECT_EQ(ErrorOf("at 10 pointerdown 5"), "usage: at T pointerdown X Y");
  EXPECT_EQ(ErrorOf("at 10 pointerup 5 6 7"), "usage: at T pointerup X Y");
  EXPECT_EQ(ErrorOf("at 10 pointerup 32768 0"), "x out of range (-32768 to 32767): 32768");
  EXPECT_EQ(ErrorOf("at 10 pointerdown 0 -32769"), "y out of range (-32768 to 32767): -32769");
  EXPECT_EQ(ErrorOf("at soon paint"), "not a number: \"soon\"");
  const Command pointer = Parse("at 10 pointerdown -5 32767");
  EXPECT_EQ(pointer.event.kind, EventKind::PointerDown);
  EXPECT_EQ(pointer.event.x, -5);
  EXPECT_EQ(pointer.event.y, 32767);
  EXPECT_EQ(Parse("at 10 pointerup 1 2").event.kind, EventKind::PointerUp);
}

TEST(CommandParse, BoardAndVariables) {
  Command set = Parse("set 11 6 6");
  EXPECT_EQ(set.kind, CommandKind::Set);
  EXPECT_EQ(set.column, 11);
  EXPECT_EQ(set.row, 6);
  EXPECT_EQ(set.value, 6);
  EXPECT_EQ(ErrorOf("set 12 0 1"), "column out of range (0 to 11): 12");
  EXPECT_EQ(ErrorOf("set 0 7 1"), "row out of range (0 to 6): 7");
  EXPECT_EQ(ErrorOf("set 0 0 7"), "value out of range (0 to 6): 7");
  EXPECT_EQ(ErrorOf("set 0 0"), "usage: set C R V");

  Command level = Parse("let Level -3");
  EXPECT_EQ(level.kind, CommandKind::Let);
  EXPECT_EQ(level.variable, Variable::Level);
  EXPECT_EQ(level.amount, -3);
  EXPECT_EQ(Parse("let LastSlideTime 5000000000").amount, 5000000000);
  EXPECT_EQ(Parse("let Running 1").variable, Variable::Running);
  EXPECT_EQ(ErrorOf("let Running 2"), "Running out of range (0 to 1): 2");
  EXPECT_EQ(ErrorOf("let PairActive -1"), "PairActive out of range (0 to 1): -1");
  EXPECT_EQ(ErrorOf("let Points 2147483648"),
            "Points out of range (-2147483648 to 2147483647): 2147483648");
  // Names are exact.
  EXPECT_EQ(ErrorOf("let level 3"), "unknown variable \"level\"");
  EXPECT_EQ(ErrorOf("let Level"), "usage: let NAME V");
}

TEST(CommandParse, RandomNumbersAreSinglePrecisionBelowOne) {
  Command r = Parse("random 0 0.5 .25 1e-3 0.1");
  ASSERT_EQ(r.numbers.size(), 5u);
  EXPECT_EQ(r.numbers[0], 0.0f);
  EXPECT_EQ(r.numbers[1], 0.5f);
  EXPECT_EQ(r.numbers[2], 0.25f);
  EXPECT_EQ(r.numbers[3], 0.001f);
  EXPECT_EQ(r.numbers[4], 0.1f);
  // Below 1, but rounded to single precision it would be 1: kept below 1.
  Command high = Parse("random 0.99999999");
  ASSERT_EQ(high.numbers.size(), 1u);
  EXPECT_LT(high.numbers[0], 1.0f);
  EXPECT_GT(high.numbers[0], 0.9999999f);

  EXPECT_EQ(ErrorOf("random 1"), "random number out of range (0 <= x < 1): 1");
  EXPECT_EQ(ErrorOf("random 0.5 -0.1"), "random number out of range (0 <= x < 1): -0.1");
  EXPECT_EQ(ErrorOf("random nan"), "not a number: \"nan\"");
  EXPECT_EQ(ErrorOf("random inf"), "not a number: \"inf\"");
  EXPECT_EQ(ErrorOf("random"), "usage: random X1 X2 ...");
  EXPECT_EQ(Parse("seed 4294967295").seed, 4294967295);
  EXPECT_EQ(Parse("seed -7").seed, -7);
  EXPECT_EQ(ErrorOf("seed x"), "not a number: \"x\"");
}

TEST(CommandParse, OutputCommands) {
  EXPECT_EQ(Parse("trace on").kind, CommandKind::Trace);
  EXPECT_EQ(Parse("trace on").trace, TraceMode::On);
  EXPECT_EQ(Parse("trace off").trace, TraceMode::Off);
  EXPECT_EQ(Parse("trace frames").trace, TraceMode::Frames);
  EXPECT_EQ(Parse("  trace\tframes  # with digests").trace, TraceMode::Frames);
  EXPECT_EQ(ErrorOf("trace"), "usage: trace on|off|frames");
  EXPECT_EQ(ErrorOf("trace yes"), "usage: trace on|off|frames");
  EXPECT_EQ(ErrorOf("trace Frames"), "usage: trace on|off|frames");
  EXPECT_EQ(ErrorOf("trace frame"), "usage: trace on|off|frames");
  EXPECT_EQ(ErrorOf("trace frames on"), "usage: trace on|off|frames");
  EXPECT_EQ(Parse("dump").kind, CommandKind::Dump);
  EXPECT_EQ(ErrorOf("dump now"), "usage: dump");
  EXPECT_EQ(Parse("land").kind, CommandKind::Land);
  // The file name is the rest of the line, spaces included.
  EXPECT_EQ(Parse("snapshot  out/my board.png  # after the bomb").file, "out/my board.png");
  EXPECT_EQ(ErrorOf("snapshot"), "usage: snapshot FILE");
  EXPECT_EQ(ErrorOf("jump 5"), "unknown command \"jump\"");
  EXPECT_EQ(ErrorOf("Dump"), "unknown command \"Dump\"");
}

TEST(ScenarioReader, CountsEveryLineAndStopsAtTheEnd) {
  std::istringstream in("# heading\n\ndump\r\n  run 5\n\n");
  ScenarioReader reader(in);
  std::optional<Command> first = reader.Next();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->kind, CommandKind::Dump);
  EXPECT_EQ(first->line, 3);
  std::optional<Command> second = reader.Next();
  ASSERT_TRUE(second);
  EXPECT_EQ(second->line, 4);
  EXPECT_FALSE(reader.Next());
  EXPECT_EQ(reader.LineNumber(), 5);
}

TEST(ScenarioReader, SkipsAByteOrderMarkOnTheFirstLineOnly) {
  std::istringstream in(
      "\xEF\xBB\xBF"
      "dump\n\xEF\xBB\xBF"
      "dump\n");
  ScenarioReader reader(in);
  std::optional<Command> first = reader.Next();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->kind, CommandKind::Dump);
  EXPECT_THROW(reader.Next(), ReplayError);
}

TEST(ScenarioReader, ReportsTheLineOfAMalformedCommand) {
  std::istringstream in("dump\n# note\nset 1 2\n");
  ScenarioReader reader(in);
  ASSERT_TRUE(reader.Next());
  try {
    reader.Next();
    ADD_FAILURE() << "no error";
  } catch (const ReplayError& e) {
    EXPECT_EQ(e.Line(), 3);
    EXPECT_STREQ(e.what(), "usage: set C R V");
  }
}

TEST(ScenarioReader, RefusesALineLongerThanTheBound) {
  // A comment of exactly the bound is read; one byte more is refused.
  std::istringstream in("dump\n#" + std::string(kMaxLineBytes - 1, 'x') + "\n\ndump\n#" +
                        std::string(kMaxLineBytes, 'x') + "\ndump\n");
  ScenarioReader reader(in);
  ASSERT_TRUE(reader.Next());
  std::optional<Command> after = reader.Next();
  ASSERT_TRUE(after);
  EXPECT_EQ(after->line, 4);
  try {
    reader.Next();
    ADD_FAILURE() << "no error";
  } catch (const ReplayError& e) {
    EXPECT_EQ(e.Line(), 5);
    EXPECT_STREQ(e.what(), "line too long");
  }
}

// A stream of 'x' without end: counts what is taken from it.
class EndlessLine : public std::streambuf {
 public:
  std::size_t taken = 0;

 protected:
  int_type underflow() override {
    taken += block_.size();
    setg(block_.data(), block_.data(), block_.data() + block_.size());
    return traits_type::to_int_type('x');
  }

 private:
  std::string block_ = std::string(4096, 'x');
};

TEST(ScenarioReader, StopsReadingAnEndlessLineAtTheBound) {
  EndlessLine endless;
  std::istream in(&endless);
  ScenarioReader reader(in);
  EXPECT_THROW(reader.Next(), ReplayError);
  EXPECT_LE(endless.taken, kMaxLineBytes + (std::size_t{1} << 17));
}

// A stream that fails as a file stream does on a read error.
class FailingStream : public std::streambuf {
 protected:
  int_type underflow() override {
    if (given_) {
      throw std::ios_base::failure("read failed", std::error_code(EIO, std::system_category()));
    }
    given_ = true;
    setg(text_.data(), text_.data(), text_.data() + text_.size());
    return traits_type::to_int_type(text_[0]);
  }

 private:
  std::string text_ = "dump\ndu";
  bool given_ = false;
};

TEST(ScenarioReader, AReadErrorIsAFailureNotTheEnd) {
  FailingStream failing;
  std::istream in(&failing);
  ScenarioReader reader(in);
  ASSERT_TRUE(reader.Next());
  try {
    reader.Next();
    ADD_FAILURE() << "no error";
  } catch (const ReplayError& e) {
    EXPECT_EQ(e.Line(), 2);
    EXPECT_STREQ(e.what(), "cannot read the scenario: Input/output error");
  }
}

// Lines arriving one at a time, as from a program that writes a command and
// waits for the answer before it writes the next.
class OneLineAtATime : public std::streambuf {
 public:
  explicit OneLineAtATime(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  bool hookSinceLastRead = true;
  int waitsWithoutHook = 0;

 protected:
  int_type underflow() override {
    if (!hookSinceLastRead) ++waitsWithoutHook;
    hookSinceLastRead = false;
    if (next_ == lines_.size()) return traits_type::eof();
    std::string& line = lines_[next_++];
    setg(line.data(), line.data(), line.data() + line.size());
    return traits_type::to_int_type(line[0]);
  }
  std::streamsize showmanyc() override { return 0; }

 private:
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
};

TEST(ScenarioReader, RunsTheHookBeforeEveryWaitForInput) {
  OneLineAtATime stream({"dump\n", "\n", "run 5\n", "dump\n"});
  std::istream in(&stream);
  ScenarioReader reader(in);
  int hooks = 0;
  reader.BeforeRead([&] {
    ++hooks;
    stream.hookSinceLastRead = true;
  });
  int commands = 0;
  while (reader.Next()) ++commands;
  EXPECT_EQ(commands, 3);
  EXPECT_EQ(stream.waitsWithoutHook, 0);
  EXPECT_EQ(hooks, 5);
}

}  // namespace
}  // namespace orvo::replay
