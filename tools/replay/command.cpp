#include "tools/replay/command.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

#include "tools/replay/replay_error.h"

namespace orvo::replay {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> Split(std::string_view s) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && IsSpace(s[i])) ++i;
    std::size_t start = i;
    while (i < s.size() && !IsSpace(s[i])) ++i;
    if (i > start) words.push_back(s.substr(start, i - start));
  }
  return words;
}

// Reads a line's words and reports its errors with the line number.
class LineParser {
 public:
  LineParser(std::vector<std::string_view> words, std::int64_t line)
      : words_(std::move(words)), line_(line) {}

  [[noreturn]] void Fail(const std::string& reason) const { throw ReplayError(reason, line_); }

  void ExpectCount(std::size_t count, const char* usage) const {
    if (words_.size() != count) Fail(std::string("usage: ") + usage);
  }

  std::string_view Word(std::size_t i) const { return words_[i]; }
  std::size_t Count() const { return words_.size(); }

  std::int64_t Integer(std::string_view word) const {
    std::int64_t v = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (ec == std::errc::result_out_of_range) Fail("number too large: " + std::string(word));
    if (ec != std::errc() || end != word.data() + word.size()) {
      Fail("not a number: \"" + std::string(word) + "\"");
    }
    return v;
  }

  std::int64_t Ranged(std::string_view word, std::int64_t lo, std::int64_t hi,
                      const char* what) const {
    std::int64_t v = Integer(word);
    if (v < lo || v > hi) {
      Fail(std::string(what) + " out of range (" + std::to_string(lo) + " to " +
           std::to_string(hi) + "): " + std::string(word));
    }
    return v;
  }

  std::int64_t Time(std::string_view word) const { return Ranged(word, 0, kMaxTime, "time"); }

  // A number of the random queue, taken as single precision. A value just
  // below 1 that single precision would round up to 1 becomes the largest
  // float below 1, so the source never yields 1.
  float RandomNumber(std::string_view word) const {
    double x = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), x);
    if (ec != std::errc() || end != word.data() + word.size() || std::isnan(x) || std::isinf(x)) {
      Fail("not a number: \"" + std::string(word) + "\"");
    }
    if (!(x >= 0.0 && x < 1.0)) {
      Fail("random number out of range (0 <= x < 1): " + std::string(word));
    }
    float f = static_cast<float>(x);
    if (f >= 1.0f) f = std::nextafter(1.0f, 0.0f);
    return f;
  }

 private:
  std::vector<std::string_view> words_;
  std::int64_t line_;
};

Event ParseEvent(const LineParser& p, std::size_t first) {
  static constexpr const char* kUsage =
      "at T EVENT (keydown|keyup CODE, click|mousedown|mouseup N, pointerdown|pointerup X Y, "
      "paint, close)";
  if (p.Count() <= first) p.Fail(std::string("usage: ") + kUsage);
  std::string_view name = p.Word(first);
  std::size_t args = p.Count() - first - 1;
  Event e;
  if (name == "keydown" || name == "keyup") {
    e.kind = name == "keydown" ? EventKind::KeyDown : EventKind::KeyUp;
    if (args != 1) p.Fail("usage: at T " + std::string(name) + " CODE");
    e.arg = static_cast<int>(p.Ranged(p.Word(first + 1), 0, 255, "key code"));
  } else if (name == "click" || name == "mousedown" || name == "mouseup") {
    e.kind = name == "click"       ? EventKind::Click
             : name == "mousedown" ? EventKind::MouseDown
                                   : EventKind::MouseUp;
    if (args != 1) p.Fail("usage: at T " + std::string(name) + " N");
    e.arg = static_cast<int>(p.Ranged(p.Word(first + 1), 0, 1, "caption index"));
  } else if (name == "pointerdown" || name == "pointerup") {
    e.kind = name == "pointerdown" ? EventKind::PointerDown : EventKind::PointerUp;
    if (args != 2) p.Fail("usage: at T " + std::string(name) + " X Y");
    e.x = static_cast<int>(
        p.Ranged(p.Word(first + 1), kMinPointerCoordinate, kMaxPointerCoordinate, "x"));
    e.y = static_cast<int>(
        p.Ranged(p.Word(first + 2), kMinPointerCoordinate, kMaxPointerCoordinate, "y"));
  } else if (name == "paint" || name == "close") {
    e.kind = name == "paint" ? EventKind::Paint : EventKind::Close;
    if (args != 0) p.Fail("usage: at T " + std::string(name));
  } else {
    p.Fail("unknown event \"" + std::string(name) + "\"");
  }
  return e;
}

struct VariableName {
  const char* name;
  Variable variable;
};

constexpr std::array<VariableName, 12> kVariables = {{
    {"Level", Variable::Level},
    {"Points", Variable::Points},
    {"MaxReactions", Variable::MaxReactions},
    {"Reactions", Variable::Reactions},
    {"Cleared", Variable::Cleared},
    {"Bombs", Variable::Bombs},
    {"NextBombPoints", Variable::NextBombPoints},
    {"PairX", Variable::PairX},
    {"PairY", Variable::PairY},
    {"LastSlideTime", Variable::LastSlideTime},
    {"PairActive", Variable::PairActive},
    {"Running", Variable::Running},
}};

void ParseLet(const LineParser& p, Command& c) {
  p.ExpectCount(3, "let NAME V");
  std::string_view name = p.Word(1);
  const VariableName* found = nullptr;
  for (const auto& v : kVariables) {
    if (name == v.name) found = &v;
  }
  if (found == nullptr) p.Fail("unknown variable \"" + std::string(name) + "\"");
  c.variable = found->variable;
  switch (c.variable) {
    case Variable::PairActive:
    case Variable::Running:
      c.amount = p.Ranged(p.Word(2), 0, 1, found->name);
      break;
    case Variable::LastSlideTime:
      c.amount = p.Ranged(p.Word(2), -kMaxTime, kMaxTime, found->name);
      break;
    default:
      c.amount = p.Ranged(p.Word(2), std::numeric_limits<std::int32_t>::min(),
                          std::numeric_limits<std::int32_t>::max(), found->name);
      break;
  }
}

}  // namespace

std::optional<Command> ParseCommand(std::string_view text, std::int64_t line) {
  std::size_t hash = text.find('#');
  if (hash != std::string_view::npos) text = text.substr(0, hash);
  text = Trim(text);
  if (text.empty()) return std::nullopt;

  LineParser p(Split(text), line);
  Command c;
  c.line = line;
  std::string_view name = p.Word(0);
  if (name == "tick") {
    c.kind = CommandKind::Tick;
    p.ExpectCount(2, "tick T");
    c.time = p.Time(p.Word(1));
  } else if (name == "random") {
    c.kind = CommandKind::Random;
    if (p.Count() < 2) p.Fail("usage: random X1 X2 ...");
    for (std::size_t i = 1; i < p.Count(); ++i) c.numbers.push_back(p.RandomNumber(p.Word(i)));
  } else if (name == "seed") {
    c.kind = CommandKind::Seed;
    p.ExpectCount(2, "seed N");
    c.seed = p.Integer(p.Word(1));
  } else if (name == "at") {
    c.kind = CommandKind::At;
    if (p.Count() < 3) p.Fail("usage: at T EVENT");
    c.time = p.Time(p.Word(1));
    c.event = ParseEvent(p, 2);
  } else if (name == "run") {
    c.kind = CommandKind::Run;
    p.ExpectCount(2, "run T, or run +D");
    std::string_view t = p.Word(1);
    if (t.front() == '+') {
      c.relative = true;
      t.remove_prefix(1);
      if (t.empty() || t.front() == '-') p.Fail("not a number: \"" + std::string(p.Word(1)) + "\"");
    }
    c.time = p.Time(t);
  } else if (name == "set") {
    c.kind = CommandKind::Set;
    p.ExpectCount(4, "set C R V");
    c.column = static_cast<int>(p.Ranged(p.Word(1), 0, 11, "column"));
    c.row = static_cast<int>(p.Ranged(p.Word(2), 0, 6, "row"));
    c.value = static_cast<int>(p.Ranged(p.Word(3), 0, 6, "value"));
  } else if (name == "let") {
    c.kind = CommandKind::Let;
    ParseLet(p, c);
  } else if (name == "land") {
    c.kind = CommandKind::Land;
    p.ExpectCount(1, "land");
  } else if (name == "dump") {
    c.kind = CommandKind::Dump;
    p.ExpectCount(1, "dump");
  } else if (name == "trace") {
    c.kind = CommandKind::Trace;
    p.ExpectCount(2, "trace on|off|frames");
    if (p.Word(1) == "on") {
      c.trace = TraceMode::On;
    } else if (p.Word(1) == "frames") {
      c.trace = TraceMode::Frames;
    } else if (p.Word(1) != "off") {
      p.Fail("usage: trace on|off|frames");
    }
  } else if (name == "snapshot") {
    c.kind = CommandKind::Snapshot;
    // The file name is the rest of the line, so it may hold spaces.
    if (p.Count() < 2) p.Fail("usage: snapshot FILE");
    c.file = std::string(Trim(text.substr(name.size())));
  } else {
    p.Fail("unknown command \"" + std::string(name) + "\"");
  }
  return c;
}

}  // namespace orvo::replay
