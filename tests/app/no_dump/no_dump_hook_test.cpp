// The test hooks of a build without the state dump (app/no_dump_hook.cpp):
// ORVO_DUMP is not read and no state is written; the latency record works on.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/test_hooks.h"
#include "tests/app/shell_rig.h"

namespace orvo::app {
namespace {

TEST(NoDumpHook, TheStateIsNeitherAskedForNorWritten) {
  const std::string dump = testing::TempDir() + "orvo_no_dump_test.jsonl";
  const std::string latency = testing::TempDir() + "orvo_no_dump_test.log";
  std::remove(dump.c_str());
  std::remove(latency.c_str());
  ::setenv("ORVO_DUMP", dump.c_str(), 1);
  EXPECT_EQ(TestHooks::FromEnvironment().dumpPath, "");
  ::unsetenv("ORVO_DUMP");

  orvo_test::RecordingPlatform host(ORVO_BINARY_DIR);
  Shell shell(host, 0);
  // Even a dump file named outright is not written.
  HookFiles files(shell, TestHooks{{}, dump, latency});
  ASSERT_TRUE(files.Active());
  shell.SetObserver(&files);
  shell.StartUp();
  host.Queue(InputEvent::KeyEvent(InputEvent::Kind::KeyDown, Key::Up));
  shell.ProcessEvents(kNothingDue);
  files.Ending();
  shell.SetObserver(nullptr);
  EXPECT_EQ(std::fopen(dump.c_str(), "r"), nullptr);
  EXPECT_EQ(std::remove(latency.c_str()), 0) << "no latency record";
}

}  // namespace
}  // namespace orvo::app
