// Whole replays on the real game: start-up failures, the snapshot of the
// board surface and where it may go, output that cannot be written, and
// what a failure prints.
#include "tools/replay/replay_runner.h"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <streambuf>
#include <vector>

#include <nlohmann/json.hpp>

#include "gfx/library_codecs.h"
#include "gfx/surface.h"
#include "tools/replay/board_digest.h"

namespace orvo::replay {
namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out;
  std::string error;
};

Result Replay(std::istream& in, const std::string& graphics = ORVO_GRAPHICS_DIR) {
  Result r;
  LineWriter writer(&r.out);
  ReplayOptions options;
  options.graphicsDir = graphics;
  r.status = RunReplay(in, options, writer, r.error);
  return r;
}

Result Replay(const std::string& scenario, const std::string& graphics = ORVO_GRAPHICS_DIR) {
  std::istringstream in(scenario);
  return Replay(in, graphics);
}

// A replay whose output goes to `file` as standard output.
Result ReplayInto(std::FILE* file, const std::string& scenario) {
  Result r;
  std::istringstream in(scenario);
  LineWriter writer(file, "standard output");
  ReplayOptions options;
  options.graphicsDir = ORVO_GRAPHICS_DIR;
  r.status = RunReplay(in, options, writer, r.error);
  return r;
}

std::optional<gfx::Surface> ReadPng(const fs::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return std::nullopt;
  image.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) return std::nullopt;
  gfx::Surface s(static_cast<int>(image.width), static_cast<int>(image.height));
  std::size_t i = 0;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x, i += 3) {
      gfx::SetPixel(s, x, y, gfx::Rgb(rgb[i], rgb[i + 1], rgb[i + 2]));
    }
  }
  return s;
}

std::optional<gfx::Surface> ReadJpeg(const fs::path& path, std::string& reason) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                        std::istreambuf_iterator<char>());
  return gfx::DecodeJpeg(bytes, reason);
}

// Each test runs in a folder of its own, the current folder while it runs.
class ScratchFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* unit = ::testing::UnitTest::GetInstance();
    root_ = fs::temp_directory_path() / ("orvo_replay_test_" + std::to_string(::getpid()) + "_" +
                                         unit->current_test_info()->name());
    folder_ = root_ / "work";
    fs::remove_all(root_);
    fs::create_directories(folder_);
    previous_ = fs::current_path();
    fs::current_path(folder_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(root_);
  }
  // Every file under the scratch root, the work folder's parent included.
  std::vector<std::string> FilesWritten() const {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root_)) {
      if (!entry.is_directory()) files.push_back(fs::relative(entry.path(), root_).string());
    }
    std::sort(files.begin(), files.end());
    return files;
  }
  fs::path root_;
  fs::path folder_;
  fs::path previous_;
};

using ReplayRunner = ScratchFolder;

TEST_F(ReplayRunner, MissingPictureFolderFailsBeforeTheFirstLine) {
  Result r = Replay("dump\n", (folder_ / "nowhere/").string());
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.error, "orvo-replay: line 0: Path not found: " + (folder_ / "nowhere/").string());
}

TEST_F(ReplayRunner, MissingPictureFailsBeforeTheFirstLine) {
  // Only the background is there: the block sheet is missing.
  fs::copy_file(fs::path(ORVO_GRAPHICS_DIR) / "GameBack.jpg", folder_ / "GameBack.jpg");
  Result r = Replay("dump\n", folder_.string() + "/");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.error.rfind("orvo-replay: line 0: ", 0), 0u) << r.error;
  EXPECT_NE(r.error.find("Blocks.gif"), std::string::npos) << r.error;
}

TEST_F(ReplayRunner, SnapshotWritesTheBoardSurface) {
  // The first pair is 1 and 2 at (9, 2) and (10, 2); the start repaints the
  // whole board, so every other cell shows the background.
  Result r = Replay("random 0.1 0.5\nat 1100 click 0\nrun 1200\nsnapshot board.png\n");
  ASSERT_EQ(r.status, 0) << r.error;

  std::optional<gfx::Surface> shot = ReadPng(folder_ / "board.png");
  ASSERT_TRUE(shot);
  std::string reason;
  std::optional<gfx::Surface> back = ReadJpeg(fs::path(ORVO_GRAPHICS_DIR) / "GameBack.jpg", reason);
  ASSERT_TRUE(back) << reason;
  ASSERT_EQ(shot->Width(), 480);
  ASSERT_EQ(shot->Height(), 288);

  auto cell_differs = [&](int column, int row) {
    for (int y = row * 48; y < row * 48 + 48; ++y) {
      for (int x = column * 48; x < column * 48 + 48; ++x) {
        if (gfx::GetPixel(*shot, x, y) != gfx::GetPixel(*back, x, y)) return true;
      }
    }
    return false;
  };
  for (int row = 0; row < 6; ++row) {
    for (int column = 0; column < 10; ++column) {
      EXPECT_EQ(cell_differs(column, row), column == 9 && row == 2) << column << "," << row;
    }
  }
}

// The lines of `out` as JSON objects, in their order.
std::vector<nlohmann::ordered_json> JsonLines(const std::string& out) {
  std::vector<nlohmann::ordered_json> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(nlohmann::ordered_json::parse(line));
  }
  return lines;
}

TEST_F(ReplayRunner, TraceFramesDigestsTheBoardAtEachRefresh) {
  // rules_example_a: a landing whose merge animates over six frames, then
  // the next pair; the board is photographed after the cascade.
  const std::string setup =
      "random 0.1 0.5\nlet Level 5\nset 0 5 1\nset 1 5 1\nset 2 5 2\n"
      "let PairX 1\nlet PairY 5\n";
  Result frames = Replay(setup + "trace frames\nland\ntrace off\nsnapshot board.png\n");
  ASSERT_EQ(frames.status, 0) << frames.error;
  Result on = Replay(setup + "trace on\nland\ntrace off\n");
  ASSERT_EQ(on.status, 0) << on.error;

  std::vector<nlohmann::ordered_json> lines = JsonLines(frames.out);
  const std::vector<nlohmann::ordered_json> plain = JsonLines(on.out);
  ASSERT_EQ(lines.size(), plain.size());
  std::vector<std::string> digests;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i]["op"] == "refresh") {
      // "board" comes right after "op", and is the only difference.
      ASSERT_EQ(lines[i].size(), 3u) << lines[i].dump();
      EXPECT_EQ(std::next(lines[i].begin(), 2).key(), "board");
      const std::string board = lines[i]["board"];
      EXPECT_EQ(board.size(), 64u);
      EXPECT_EQ(board.find_first_not_of("0123456789abcdef"), std::string::npos) << board;
      digests.push_back(board);
      lines[i].erase("board");
    }
    EXPECT_EQ(lines[i].dump(), plain[i].dump());
  }
  // Six animation frames, the cascade's end and the next pair.
  ASSERT_EQ(digests.size(), 9u);
  for (std::size_t i = 1; i < 6; ++i) EXPECT_NE(digests[i], digests[i - 1]) << i;
  EXPECT_NE(digests.back(), digests.front());

  // The last refresh shows the board as it stays.
  std::optional<gfx::Surface> shot = ReadPng(folder_ / "board.png");
  ASSERT_TRUE(shot);
  EXPECT_EQ(digests.back(), BoardDigest(*shot));
}

TEST_F(ReplayRunner, SnapshotsGoOnlyBelowTheCurrentFolder) {
  fs::create_directory(folder_ / "shots");
  Result ok =
      Replay("snapshot shots/a.png\nsnapshot ./b.png\nsnapshot ..c.png\nsnapshot shots/./d..png\n");
  ASSERT_EQ(ok.status, 0) << ok.error;
  EXPECT_EQ(FilesWritten(), (std::vector<std::string>{"work/..c.png", "work/b.png",
                                                      "work/shots/a.png", "work/shots/d..png"}));
  fs::remove_all(folder_);
  fs::create_directories(folder_ / "shots");

  struct Case {
    std::string file;
    std::string reason;
  };
  const std::string absolute = (folder_ / "abs.png").string();
  for (const Case& c : {
           Case{absolute, "snapshot: absolute path refused: " + absolute},
           Case{"../up.png", "snapshot: path with a \"..\" component refused: ../up.png"},
           Case{"shots/../../up.png",
                "snapshot: path with a \"..\" component refused: shots/../../up.png"},
           Case{"shots/..", "snapshot: path with a \"..\" component refused: shots/.."},
           Case{"..", "snapshot: path with a \"..\" component refused: .."},
           Case{std::string("in.png\0/../../up.png", 20),
                "snapshot: file name with a NUL byte refused: in.png\\x00/../../up.png"},
       }) {
    Result r = Replay("dump\nsnapshot " + c.file + "\ndump\n");
    EXPECT_EQ(r.status, 2) << c.file;
    EXPECT_EQ(r.error, "orvo-replay: line 2: " + c.reason);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << c.file;
  }
  EXPECT_TRUE(FilesWritten().empty());
}

TEST_F(ReplayRunner, SnapshotsMayBeResolvedAgainstAnotherFolder) {
  fs::create_directory(root_ / "shots");
  std::istringstream in("snapshot a.png\nsnapshot missing/b.png\n");
  Result r;
  LineWriter writer(&r.out);
  ReplayOptions options;
  options.graphicsDir = ORVO_GRAPHICS_DIR;
  options.snapshotFolder = (root_ / "shots").string();
  r.status = RunReplay(in, options, writer, r.error);
  EXPECT_EQ(r.status, 2);
  // Messages name the file as the scenario does.
  EXPECT_EQ(r.error, "orvo-replay: line 2: cannot write missing/b.png: No such file or directory");
  EXPECT_EQ(FilesWritten(), (std::vector<std::string>{"shots/a.png"}));
}

TEST_F(ReplayRunner, FailedSnapshotIsAnErrorAfterTheEarlierOutput) {
  Result r = Replay("dump\nsnapshot missing/board.png\ndump\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);
  EXPECT_EQ(r.error,
            "orvo-replay: line 2: cannot write missing/board.png: No such file or directory");
}

// /dev/full takes no byte: every write to it fails with "No space left on
// device", as on a full disk.
class FullDevice : public ScratchFolder {
 protected:
  void SetUp() override {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    ScratchFolder::SetUp();
  }
};

TEST_F(FullDevice, SnapshotOnAFullDiskFails) {
  fs::current_path("/dev");
  Result r = Replay("snapshot full\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.error, "orvo-replay: line 1: cannot write full: No space left on device");
}

TEST_F(FullDevice, OutputThatCannotBeWrittenIsAFailure) {
  std::FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  Result end = ReplayInto(full, "# a dump\ndump\n\n");
  EXPECT_EQ(end.status, 2);
  EXPECT_EQ(end.error,
            "orvo-replay: line 2: cannot write standard output: No space left on device");

  // Long output fails as soon as the first block is written out, not at the end.
  std::string dumps;
  for (int i = 0; i < 1000; ++i) dumps += "dump\n";
  Result early = ReplayInto(std::fopen("/dev/full", "w"), dumps);
  EXPECT_EQ(early.status, 2);
  const std::string prefix = "orvo-replay: line ";
  ASSERT_EQ(early.error.rfind(prefix, 0), 0u) << early.error;
  const long line = std::stol(early.error.substr(prefix.size()));
  EXPECT_GT(line, 1);
  EXPECT_LT(line, 1000);

  // A failure of the scenario comes first and is the one reported.
  Result both = ReplayInto(std::fopen("/dev/full", "w"), "dump\njump\n");
  EXPECT_EQ(both.status, 2);
  EXPECT_EQ(both.error, "orvo-replay: line 2: unknown command \"jump\"");
}

TEST_F(ReplayRunner, FailuresShowUnprintableBytesEscaped) {
  Result r = Replay("dump\n\x1b]0;title\x07\xc3\xa9t\xc3\xa9\xed\xa0\x80 x\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.error,
            "orvo-replay: line 2: unknown command \"\\x1B]0;title\\x07\xc3\xa9t\xc3\xa9"
            "\\xED\\xA0\\x80\"");
}

// `count` empty lines and then `tail`, made as they are read.
class EmptyLines : public std::streambuf {
 public:
  EmptyLines(std::uint64_t count, std::string tail)
      : left_(count), tail_(std::move(tail)), block_(1 << 16, '\n') {}

 protected:
  int_type underflow() override {
    if (left_ > 0) {
      const std::size_t n = std::min<std::uint64_t>(left_, block_.size());
      left_ -= n;
      setg(block_.data(), block_.data(), block_.data() + n);
    } else if (!tail_.empty() && !tail_given_) {
      tail_given_ = true;
      setg(tail_.data(), tail_.data(), tail_.data() + tail_.size());
    } else {
      return traits_type::eof();
    }
    return traits_type::to_int_type(*gptr());
  }

 private:
  std::uint64_t left_;
  std::string tail_;
  std::string block_;
  bool tail_given_ = false;
};

// Line numbers go past 2^31 (some seconds of reading under the sanitizers).
TEST_F(ReplayRunner, LineNumbersPassTwoToThe31) {
  EmptyLines lines((std::uint64_t{1} << 31) + 2, "dump\njump\n");
  std::istream in(&lines);
  Result r = Replay(in);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);
  EXPECT_EQ(r.error, "orvo-replay: line 2147483652: unknown command \"jump\"");
}

}  // namespace
}  // namespace orvo::replay
