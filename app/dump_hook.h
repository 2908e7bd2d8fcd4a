// The state dump's test hook, ORVO_DUMP (test_hooks.h), which only a build
// with the dump has (CMake's ORVO_STATE_DUMP, on in the builds with tests).
// One of two sources is built into the application: dump_hook.cpp writes
// the state lines with the JSON writer (state_dump.h); no_dump_hook.cpp
// leaves ORVO_DUMP unread and writes nothing, so that neither the dump nor
// the JSON library is in the programs of a build without it.
#pragma once

#include <memory>
#include <string>

namespace orvo::app {

class Shell;

// A file the game's state is appended to.
class DumpFile {
 public:
  virtual ~DumpFile() = default;
  // Appends `shell`'s state as one line, whole on disk before this returns.
  virtual void Write(Shell& shell) = 0;
};

// The file the environment's ORVO_DUMP names; empty when it names none, and
// always in a build without the dump.
std::string DumpPathFromEnvironment();
// `path` opened for appending; null when it cannot be opened, and always in
// a build without the dump.
std::unique_ptr<DumpFile> OpenDumpFile(const std::string& path);

}  // namespace orvo::app
