// The replay's standard output: whole lines gathered in a large buffer and
// written out in big blocks (or kept in a string, for tests).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace orvo::replay {

class LineWriter {
 public:
  explicit LineWriter(std::FILE* file) : file_(file) { buffer_.reserve(kBlock); }
  explicit LineWriter(std::string* text) : text_(text) {}
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;
  ~LineWriter() { Flush(); }

  // Appends `line` and a newline.
  void Line(std::string_view line) {
    std::string& out = text_ != nullptr ? *text_ : buffer_;
    out.append(line);
    out.push_back('\n');
    if (text_ == nullptr && buffer_.size() >= kBlock) Flush();
  }
  // Writes out what is buffered.
  void Flush();

 private:
  static constexpr std::size_t kBlock = 1 << 16;
  std::FILE* file_ = nullptr;
  std::string* text_ = nullptr;
  std::string buffer_;
};

}  // namespace orvo::replay
