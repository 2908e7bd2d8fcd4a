// The folder checks and the replaceable fatal-message path, in-process.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/startup.h"
#include "platform/desktop/program_folder.h"

namespace orvo::app {
namespace {

namespace fs = std::filesystem;
using desktop::ProgramFolder;

struct FatalShown {
  std::string title;
  std::string text;
};

// Records the message and leaves CheckPath by an exception instead of ending
// the test program.
class StartupChecks : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFatalMessage([](const std::string& title, const std::string& text) {
      throw FatalShown{title, text};
    });
    root_ = fs::temp_directory_path() / ("orvo-startup-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override {
    SetFatalMessage(nullptr);
    fs::remove_all(root_);
  }
  std::string Folder(const std::string& name) {
    fs::create_directories(root_ / name);
    return (root_ / name).string() + "/";
  }
  static void Touch(const std::string& path) { std::ofstream(path) << "x"; }
  // The message CheckPath fails with, or "" when it passes.
  static std::string Failure(const std::string& folder) {
    try {
      EXPECT_EQ(CheckPath(folder), folder);
      return "";
    } catch (const FatalShown& shown) {
      EXPECT_EQ(shown.title, "Error loading game");
      return shown.text;
    }
  }

  fs::path root_;
};

TEST_F(StartupChecks, AFolderWithAnOrdinaryFilePasses) {
  const std::string folder = Folder("ok");
  Touch(folder + "GameBack.jpg");
  EXPECT_EQ(Failure(folder), "");
}

TEST_F(StartupChecks, MissingOrEmptyFoldersAreNotFound) {
  const std::string missing = (root_ / "missing").string() + "/";
  EXPECT_EQ(Failure(missing), "Path not found: " + missing);
  const std::string empty = Folder("empty");
  EXPECT_EQ(Failure(empty), "Path not found: " + empty);
}

TEST(StartupPaths, WithSeparatorAddsOnlyAMissingOne) {
  EXPECT_EQ(WithSeparator("/opt/orvo"), "/opt/orvo/");
  EXPECT_EQ(WithSeparator("/opt/orvo/"), "/opt/orvo/");
  EXPECT_EQ(WithSeparator("/"), "/");
}

TEST(StartupPaths, ProgramFolderIsTheRealFolderOfThisExecutable) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_EQ(folder, fs::canonical("/proc/self/exe").parent_path().string() + "/");
  EXPECT_TRUE(fs::is_directory(folder));
}

}  // namespace
}  // namespace orvo::app
