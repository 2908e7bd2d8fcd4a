// The tests' own build of the program (orvo-test-hooks.exe), never shipped:
// the random source's seed comes from ORVO_SEED, so that a test can predict
// the pairs, and with ORVO_DUMP naming a file the game's state is appended
// to it as one line of JSON whenever a frame is shown and after every batch
// of events, as the web page's test hook publishes it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "app/shell.h"
#include "platform/win32/win32_platform.h"

namespace orvo::win32 {

// The seed in ORVO_SEED (a decimal number below 2^32), if any.
std::optional<std::uint32_t> SeedFromEnvironment();

class HookedPlatform : public Win32Platform {
 public:
  HookedPlatform();
  ~HookedPlatform() override;
  HookedPlatform(const HookedPlatform&) = delete;
  HookedPlatform& operator=(const HookedPlatform&) = delete;

  void PublishStateOf(app::Shell* shell) { shell_ = shell; }

  void PresentFrame(const gfx::Surface& frame) override;
  bool PollEvent(app::InputEvent& event) override;
  [[noreturn]] void EndProgram(int status) override;

 private:
  void Publish();

  std::FILE* dump_ = nullptr;
  app::Shell* shell_ = nullptr;
};

}  // namespace orvo::win32
