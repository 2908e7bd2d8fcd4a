#include "tools/replay/snapshot_path.h"

#include <string_view>

#include "tools/replay/replay_error.h"

namespace orvo::replay {

void CheckSnapshotPath(const std::string& path) {
  if (path.empty()) throw ReplayError("snapshot: empty file name");
  if (path.find('\0') != std::string::npos) {
    throw ReplayError("snapshot: file name with a NUL byte refused: " + path);
  }
  if (path.front() == '/') throw ReplayError("snapshot: absolute path refused: " + path);
  std::string_view rest = path;
  for (;;) {
    const std::size_t slash = rest.find('/');
    if (rest.substr(0, slash) == "..") {
      throw ReplayError("snapshot: path with a \"..\" component refused: " + path);
    }
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
}

}  // namespace orvo::replay
