// The replay's standard output: whole lines gathered in a large buffer and
// written out in big blocks (or kept in a string, for tests). Every write,
// flush and close is checked: output that cannot be written fails the
// replay rather than being lost silently.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace orvo::replay {

class LineWriter {
 public:
  // Writes to `file`; `name` says what it is in messages ("standard output").
  LineWriter(std::FILE* file, std::string name) : file_(file), name_(std::move(name)) {
    buffer_.reserve(kBlock);
  }
  explicit LineWriter(std::string* text) : text_(text) {}
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;
  // Writes out what is left, unchecked: whoever needs to know that the
  // output arrived calls Close first.
  ~LineWriter();

  // Appends `line` and a newline. Throws ReplayError ("cannot write NAME:
  // REASON") when a full block cannot be written out.
  void Line(std::string_view line) {
    std::string& out = text_ != nullptr ? *text_ : buffer_;
    out.append(line);
    out.push_back('\n');
    if (text_ == nullptr && buffer_.size() >= kBlock) Flush();
  }
  // Writes out what is buffered and flushes the file; throws like Line.
  void Flush();
  // Flushes, then closes the file; throws like Line. After a failed write
  // (already reported) it only closes the file. Later lines are dropped.
  void Close();

 private:
  // Writes out the buffer and flushes the file: 0, or the system's error.
  int WriteOut();
  [[noreturn]] void Fail(int error);

  static constexpr std::size_t kBlock = 1 << 16;
  std::FILE* file_ = nullptr;
  std::string name_;
  std::string* text_ = nullptr;
  std::string buffer_;
  bool failed_ = false;
};

}  // namespace orvo::replay
