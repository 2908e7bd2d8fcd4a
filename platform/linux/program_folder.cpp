#include "platform/linux/program_folder.h"

#include <filesystem>
#include <system_error>

namespace orvo::linux_shared {

std::string ProgramFolder() {
  std::error_code ec;
  // The real file of the executable, not the link it may have been started by.
  const std::filesystem::path exe = std::filesystem::canonical("/proc/self/exe", ec);
  if (ec) return {};
  return exe.parent_path().string();
}

}  // namespace orvo::linux_shared
