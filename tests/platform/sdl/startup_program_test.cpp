// The real program started from a temporary copy of its folder with a broken
// picture folder: each case ends with its message and status 1, before any
// window exists, and never waits on a dialog.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "program_runner.h"

namespace orvo::app {
namespace {

namespace fs = std::filesystem;
using test::RunProgram;
using test::RunResult;

const char* const kPictures[] = {"GameBack.jpg", "Blocks.gif", "Grid.gif"};

class BrokenStart : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = std::string("orvo-start-") + std::to_string(::getpid()) + "-" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    root_ = fs::canonical(fs::temp_directory_path()) / name;
    fs::remove_all(root_);
    fs::create_directories(root_);
    fs::copy_file(ORVO_PROGRAM, root_ / "orvo");
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string Graphics() const { return (root_ / "Graphics").string() + "/"; }
  void CopyPictures() {
    fs::create_directories(root_ / "Graphics");
    for (const char* file : kPictures) {
      fs::copy_file(std::string(ORVO_GRAPHICS_DIR) + file, root_ / "Graphics" / file);
    }
  }
  // Runs the copy with no display at all, then with SDL's screenless video
  // driver; both must give the same message on standard error.
  void ExpectFailure(const std::string& message) {
    for (const bool offscreen : {false, true}) {
      std::vector<std::string> set;
      if (offscreen) set.push_back("SDL_VIDEODRIVER=offscreen");
      const RunResult r = RunProgram((root_ / "orvo").string(),
                                     {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}, set);
      SCOPED_TRACE(offscreen ? "offscreen driver" : "no display");
      ASSERT_FALSE(r.blocked);
      ASSERT_TRUE(r.exited) << r.err;
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(r.err, "Error loading game: " + message + "\n");
    }
  }
  // The same for a picture the decoder rejects: the message names the file
  // and gives a reason after it.
  void ExpectUndecodable(const std::string& file) {
    const RunResult r = RunProgram((root_ / "orvo").string(),
                                   {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}, {});
    ASSERT_FALSE(r.blocked);
    ASSERT_TRUE(r.exited) << r.err;
    EXPECT_EQ(r.status, 1);
    const std::string prefix = "Error loading game: " + Graphics() + file + ": ";
    EXPECT_EQ(r.err.rfind(prefix, 0), 0u) << r.err;
    EXPECT_GT(r.err.size(), prefix.size() + 2) << "no reason given: " << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  }

  fs::path root_;
};

TEST_F(BrokenStart, NoGraphicsFolder) {
  ExpectFailure("Path not found: " + Graphics());
}

TEST_F(BrokenStart, AnEmptyGraphicsFolder) {
  fs::create_directories(root_ / "Graphics");
  ExpectFailure("Path not found: " + Graphics());
}

TEST_F(BrokenStart, AGraphicsFolderWithOnlyASubFolder) {
  fs::create_directories(root_ / "Graphics" / "old");
  fs::copy_file(std::string(ORVO_GRAPHICS_DIR) + "Grid.gif", root_ / "Graphics/old/Grid.gif");
  ExpectFailure("Path not found: " + Graphics());
}

TEST_F(BrokenStart, AGraphicsFolderWithOnlyAHiddenFile) {
  fs::create_directories(root_ / "Graphics");
  fs::copy_file(std::string(ORVO_GRAPHICS_DIR) + "Grid.gif", root_ / "Graphics/.Grid.gif");
  ExpectFailure("Path not found: " + Graphics());
}

TEST_F(BrokenStart, EachMissingPictureIsNamed) {
  for (const char* missing : kPictures) {
    SCOPED_TRACE(missing);
    fs::remove_all(root_ / "Graphics");
    CopyPictures();
    fs::remove(root_ / "Graphics" / missing);
    ExpectFailure("Path not found: " + Graphics() + missing);
  }
}

TEST_F(BrokenStart, AZeroBytePicture) {
  CopyPictures();
  std::ofstream(root_ / "Graphics/Blocks.gif", std::ios::trunc).close();
  ExpectUndecodable("Blocks.gif");
}

TEST_F(BrokenStart, ATruncatedPicture) {
  for (const char* file : kPictures) {
    SCOPED_TRACE(file);
    fs::remove_all(root_ / "Graphics");
    CopyPictures();
    const fs::path path = root_ / "Graphics" / file;
    fs::resize_file(path, fs::file_size(path) / 3);
    ExpectUndecodable(file);
  }
}

TEST_F(BrokenStart, APictureThatOnceCrashedTheDecoder) {
  CopyPictures();
  fs::copy_file(
      std::string(ORVO_SOURCE_DIR) + "/tests/gfx/damaged_pictures/grid-crashed-sdl-image-01.gif",
      root_ / "Graphics/Grid.gif", fs::copy_options::overwrite_existing);
  ExpectUndecodable("Grid.gif");
}

TEST_F(BrokenStart, APictureDeclaringAHugeSize) {
  CopyPictures();
  fs::copy_file(std::string(ORVO_SOURCE_DIR) + "/tests/gfx/damaged_pictures/huge-screen-16384.gif",
                root_ / "Graphics/Blocks.gif", fs::copy_options::overwrite_existing);
  ExpectUndecodable("Blocks.gif");
}

// Pictures smaller than the rectangles the drawing reads from them would show
// a black board with invisible blocks: each is refused with its size and the
// size needed.
TEST_F(BrokenStart, PicturesTooSmallForTheBoard) {
  const fs::path small = root_ / "small.gif";
  // A 10 x 10 GIF of one colour.
  const unsigned char kTen[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x0a, 0x00, 0x0a, 0x00,
                                0xf0, 0x00, 0x00, 0x20, 0x40, 0x60, 0x00, 0x00, 0x00, 0x21,
                                0xf9, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00,
                                0x00, 0x00, 0x0a, 0x00, 0x0a, 0x00, 0x00, 0x02, 0x08, 0x84,
                                0x8f, 0xa9, 0xcb, 0xed, 0x0f, 0x63, 0x2b, 0x00, 0x3b};
  std::ofstream(small, std::ios::binary).write(reinterpret_cast<const char*>(kTen), sizeof kTen);
  for (const auto& [file, needed] :
       {std::pair{"Blocks.gif", "336 x 288"}, {"Grid.gif", ""}, {"GameBack.jpg", "480 x 288"}}) {
    SCOPED_TRACE(file);
    fs::remove_all(root_ / "Graphics");
    CopyPictures();
    fs::copy_file(small, root_ / "Graphics" / file, fs::copy_options::overwrite_existing);
    const RunResult r = RunProgram((root_ / "orvo").string(),
                                   {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}, {});
    ASSERT_FALSE(r.blocked);
    if (std::string(needed).empty()) {
      // Any size will do for the grid tile: the start-up goes on to the
      // missing display.
      EXPECT_NE(r.err.find("Error loading game: Cannot open the window: no display\n"),
                std::string::npos)
          << r.err;
      continue;
    }
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Error loading game: " + Graphics() + file +
                         ": the picture is 10 x 10 pixels; the game needs at least " + needed +
                         "\n");
  }
}

// Without a font the window would open with no labels and no Start or Exit
// to click: the start-up fails instead, naming the fonts it looked for.
TEST_F(BrokenStart, NoFontForTheLabels) {
  CopyPictures();
  std::ofstream(root_ / "fonts.conf") << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
  const RunResult r = RunProgram(
      (root_ / "orvo").string(), {"DISPLAY", "WAYLAND_DISPLAY"},
      {"SDL_VIDEODRIVER=offscreen", "FONTCONFIG_FILE=" + (root_ / "fonts.conf").string()});
  ASSERT_FALSE(r.blocked);
  ASSERT_TRUE(r.exited) << r.err;
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Error loading game: Cannot show the window's labels: no font for the "
                       "labels: looked for Terminus, any monospace font, any sans-serif font"),
            std::string::npos)
      << r.err;
}

// Started through a link from elsewhere, the program looks beside its real
// file: the folder checks pass, and without a display it ends saying so.
TEST_F(BrokenStart, ALinkFindsTheRealFolder) {
  CopyPictures();
  fs::create_directories(root_ / "bin");
  fs::create_symlink(root_ / "orvo", root_ / "bin" / "orvo");
  const RunResult r = RunProgram((root_ / "bin" / "orvo").string(),
                                 {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}, {});
  ASSERT_FALSE(r.blocked);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.find("Path not found"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Error loading game: Cannot open the window: no display\n"),
            std::string::npos)
      << r.err;
}

// A display that is named but cannot be reached is not "no display": the
// message names it, so a player can see which one was tried.
TEST_F(BrokenStart, AnUnreachableDisplayIsNamed) {
  CopyPictures();
  const RunResult r = RunProgram((root_ / "orvo").string(), {"WAYLAND_DISPLAY", "SDL_VIDEODRIVER"},
                                 {"DISPLAY=:4711"});
  ASSERT_FALSE(r.blocked);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(
      r.err.find(
          "Error loading game: Cannot open the window: cannot connect to the display :4711\n"),
      std::string::npos)
      << r.err;
}

}  // namespace
}  // namespace orvo::app
