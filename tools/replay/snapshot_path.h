// Where `snapshot` may write: a scenario can come from a stranger, so its
// file names must not reach outside the folder the replay runs in.
#pragma once

#include <string>

namespace orvo::replay {

// Throws ReplayError ("snapshot: ...") unless `path` is a relative path with
// no ".." component (resolved against the current folder), not empty and
// without a NUL byte (which would cut the name the system sees short).
void CheckSnapshotPath(const std::string& path);

}  // namespace orvo::replay
