#include "tools/replay/line_writer.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "tools/replay/replay_error.h"

namespace orvo::replay {
namespace {

// errno after a failed call; a failure that set none still is one.
int LastError() {
  return errno != 0 ? errno : EIO;
}

}  // namespace

LineWriter::~LineWriter() {
  if (file_ == nullptr || failed_) return;
  if (!buffer_.empty()) std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
  std::fflush(file_);
}

void LineWriter::Fail(int error) {
  failed_ = true;
  buffer_.clear();
  throw ReplayError("cannot write " + name_ + ": " + std::strerror(error));
}

int LineWriter::WriteOut() {
  if (failed_) {
    buffer_.clear();
    return 0;
  }
  if (!buffer_.empty()) {
    errno = 0;
    const std::size_t written = std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
    if (written != buffer_.size()) return LastError();
    buffer_.clear();
  }
  errno = 0;
  if (std::fflush(file_) != 0) return LastError();
  return 0;
}

void LineWriter::Flush() {
  if (file_ == nullptr) return;
  if (const int error = WriteOut(); error != 0) Fail(error);
}

void LineWriter::Close() {
  if (file_ == nullptr) return;
  int error = WriteOut();
  std::FILE* file = std::exchange(file_, nullptr);
  errno = 0;
  // Closing can report what earlier writes could not (a full disk on a
  // network file system, for one).
  if (std::fclose(file) != 0 && error == 0) error = LastError();
  if (error != 0 && !failed_) Fail(error);
}

}  // namespace orvo::replay
