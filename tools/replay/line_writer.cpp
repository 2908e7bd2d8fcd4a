#include "tools/replay/line_writer.h"

namespace orvo::replay {

void LineWriter::Flush() {
  if (file_ == nullptr) return;
  if (!buffer_.empty()) {
    std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
    buffer_.clear();
  }
  std::fflush(file_);
}

}  // namespace orvo::replay
