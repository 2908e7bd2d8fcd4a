// The state dump hook of a build with the dump (dump_hook.h).
#include "app/dump_hook.h"

#include <cstdio>
#include <cstdlib>

#include "app/shell.h"

namespace orvo::app {

namespace {

class StateLines : public DumpFile {
 public:
  explicit StateLines(std::FILE* file) : file_(file) {}
  ~StateLines() override { std::fclose(file_); }
  StateLines(const StateLines&) = delete;
  StateLines& operator=(const StateLines&) = delete;

  void Write(Shell& shell) override {
    const std::string line = shell.StateDump() + "\n";
    std::fwrite(line.data(), 1, line.size(), file_);
    // Each line is whole on disk at once: the program may end at any moment.
    std::fflush(file_);
  }

 private:
  std::FILE* file_;
};

}  // namespace

std::string DumpPathFromEnvironment() {
  const char* path = std::getenv("ORVO_DUMP");
  return path ? path : "";
}

std::unique_ptr<DumpFile> OpenDumpFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) return nullptr;
  return std::make_unique<StateLines>(file);
}

}  // namespace orvo::app
