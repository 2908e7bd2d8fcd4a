// The test hooks: the seed's text, and the state written at every frame
// shown and after every batch of events.
#include "app/test_hooks.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/app/shell_rig.h"

namespace orvo::app {
namespace {

TEST(TestHooks, TheSeedIsADecimalNumberBelowTwoToThe32) {
  struct Case {
    const char* text;
    std::optional<std::uint32_t> seed;
  } cases[] = {
      {"0", 0u},
      {"4242", 4242u},
      {"4294967295", 4294967295u},
      {"007", 7u},
      {"4294967296", {}},
      {"-1", {}},
      {"12a", {}},
      {" 12", {}},
      {"", {}},
      {nullptr, {}},
      {"99999999999999999999999", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseSeed(c.text), c.seed) << (c.text ? c.text : "(none)");
  }
}

TEST(TestHooks, TheDumpHasALineForEveryFrameAndEveryBatch) {
  const std::string path = testing::TempDir() + "orvo_dump_test.jsonl";
  std::remove(path.c_str());
  orvo_test::RecordingPlatform host(ORVO_BINARY_DIR);
  Shell shell(host, 0);
  {
    HookFiles files(shell, TestHooks{{}, path, {}});
    ASSERT_TRUE(files.Active());
    shell.SetObserver(&files);
    shell.StartUp();  // the first frame
    host.Queue(InputEvent::KeyEvent(InputEvent::Kind::KeyDown, Key::Up));
    host.SetClock(1234);
    shell.ProcessEvents(kNothingDue);  // one batch
    shell.SetObserver(nullptr);
  }
  std::ifstream in(path);
  std::vector<nlohmann::json> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]["tick"], orvo::headless::HeadlessPlatform::kStartTick);
  EXPECT_EQ(lines[1]["tick"], 1234);
  EXPECT_EQ(lines[1]["labels"]["lblAction0"], "Start");
  std::remove(path.c_str());
  // A file that cannot be opened switches the hook off.
  EXPECT_FALSE(
      HookFiles(shell, TestHooks{{}, testing::TempDir() + "no/such/folder/dump", {}}).Active());
}

TEST(TestHooks, TheLatencyRecordFollowsKeysToTheFrames) {
  const std::string path = testing::TempDir() + "orvo_latency_test.log";
  std::remove(path.c_str());
  orvo_test::RecordingPlatform host(ORVO_BINARY_DIR);
  Shell shell(host, 0);
  HookFiles files(shell, TestHooks{{}, {}, path});
  ASSERT_TRUE(files.Active());
  shell.SetObserver(&files);
  shell.StartUp();
  host.Queue(InputEvent::KeyEvent(InputEvent::Kind::KeyDown, Key::Up));
  host.Queue(InputEvent::KeyEvent(InputEvent::Kind::KeyDown, Key::Left, false));  // a touch key
  shell.ProcessEvents(kNothingDue);
  shell.Deliver(InputEvent{InputEvent::Kind::Expose});  // a frame
  try {
    shell.EndProgram(0);
  } catch (const orvo::headless::ProgramEnd&) {
  }
  shell.SetObserver(nullptr);
  std::ifstream in(path);
  std::vector<std::string> lines, kinds;
  for (std::string line; std::getline(in, line);) {
    kinds.push_back(line.substr(0, line.find(' ')));
    lines.push_back(std::move(line));
  }
  // The first frame, the keyboard's key with the time it was taken in, the
  // frame after it; written once, when the program ends.
  ASSERT_EQ(kinds,
            (std::vector<std::string>{"first-present-realtime-ns", "present", "key", "present"}));
  // The first frame on the wall clock: nanoseconds since 1970, after 2020.
  EXPECT_GT(std::stoll(lines[0].substr(lines[0].find(' '))), 1577836800LL * 1000000000LL);
  std::remove(path.c_str());
}

}  // namespace
}  // namespace orvo::app
