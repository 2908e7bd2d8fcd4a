// The state dump hook of a build without the dump (dump_hook.h): ORVO_DUMP
// is not read and nothing is written.
#include "app/dump_hook.h"

namespace orvo::app {

std::string DumpPathFromEnvironment() {
  return {};
}

std::unique_ptr<DumpFile> OpenDumpFile(const std::string& /*path*/) {
  return nullptr;
}

}  // namespace orvo::app
