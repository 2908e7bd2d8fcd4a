// orvo-replay: runs the game headless on a virtual clock from a scenario.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "app/shell.h"
#include "platform/linux/program_folder.h"
#include "tools/replay/line_writer.h"
#include "tools/replay/replay_error.h"
#include "tools/replay/replay_runner.h"

namespace {

constexpr const char* kUsage = "usage: orvo-replay [--graphics DIR] [FILE]";
// The project's one version number, set in CMake.
constexpr const char* kVersionLine = "orvo-replay " ORVO_VERSION;

// The "Graphics/" folder beside the executable, as the game finds it.
std::string DefaultGraphicsDir(const char* argv0) {
  std::string folder = orvo::linux_shared::ProgramFolder();
  if (folder.empty()) {
    std::error_code ec;
    folder = std::filesystem::absolute(argv0, ec).parent_path().string();
  }
  return orvo::app::WithSeparator(folder) + "Graphics/";
}

bool IsRegularFile(int fd) {
  struct stat st {};
  return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

int Fail(const std::string& reason) {
  std::fprintf(stderr, "%s\n", orvo::replay::ErrorLine(0, reason).c_str());
  return 2;
}

// Prints one line (the usage, the version); a failed write is a failure
// like any other.
int PrintLine(const char* line) {
  orvo::replay::LineWriter out(stdout, "standard output");
  try {
    out.Line(line);
    out.Close();
  } catch (const orvo::replay::ReplayError& e) {
    return Fail(e.Reason());
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  orvo::replay::ReplayOptions options;
  std::string file = "-";
  bool haveFile = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--graphics" && i + 1 < argc) {
      // The shell's start-up adds the trailing separator.
      options.graphicsDir = argv[++i];
    } else if (arg == "--help" || arg == "-h") {
      return PrintLine(kUsage);
    } else if (arg == "--version") {
      return PrintLine(kVersionLine);
    } else if ((arg == "-" || arg.empty() || arg[0] != '-') && !haveFile) {
      file = arg;
      haveFile = true;
    } else {
      return Fail(kUsage);
    }
  }
  if (options.graphicsDir.empty()) options.graphicsDir = DefaultGraphicsDir(argv[0]);

  std::ifstream opened;
  std::istream* in = &std::cin;
  if (file != "-") {
    opened.open(file);
    if (!opened) return Fail("cannot open " + file + ": " + std::strerror(errno));
    // A folder opens like a file but cannot be read.
    if (std::filesystem::is_directory(file))
      return Fail("cannot open " + file + ": " + std::strerror(EISDIR));
    in = &opened;
    options.interactive = !IsRegularFile(file);
  } else {
    // A pipe or terminal may be a program that waits for our answers.
    options.interactive = !IsRegularFile(0);
  }

  orvo::replay::LineWriter out(stdout, "standard output");
  std::string error;
  int status = orvo::replay::RunReplay(*in, options, out, error);
  if (!error.empty()) std::fprintf(stderr, "%s\n", error.c_str());
  return status;
}
