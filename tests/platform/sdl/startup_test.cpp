// Where the program finds its folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/linux/program_folder.h"
#include "platform/sdl/sdl_platform.h"

namespace orvo::sdl {
namespace {

namespace fs = std::filesystem;

TEST(StartupPaths, ProgramFolderIsTheRealFolderOfThisExecutable) {
  const std::string folder = linux_shared::ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder, fs::canonical("/proc/self/exe").parent_path().string());
  EXPECT_TRUE(fs::is_directory(folder));
  SdlPlatform platform;
  EXPECT_EQ(platform.ProgramFolder(), folder);
}

}  // namespace
}  // namespace orvo::sdl
