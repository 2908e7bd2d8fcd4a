#include "platform/win32/test_hooks.h"

#include <cstdlib>
#include <cwchar>

namespace orvo::win32 {

std::optional<std::uint32_t> SeedFromEnvironment() {
  const char* text = std::getenv("ORVO_SEED");
  if (text == nullptr || *text == '\0') return std::nullopt;
  std::uint64_t value = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(*c - '0');
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

HookedPlatform::HookedPlatform() : Win32Platform(SeedFromEnvironment()) {
  if (const wchar_t* path = _wgetenv(L"ORVO_DUMP")) dump_ = _wfopen(path, L"ab");
}

HookedPlatform::~HookedPlatform() {
  if (dump_) std::fclose(dump_);
}

void HookedPlatform::Publish() {
  if (dump_ == nullptr || shell_ == nullptr) return;
  const std::string line = shell_->StateDump() + "\n";
  std::fwrite(line.data(), 1, line.size(), dump_);
  std::fflush(dump_);
}

void HookedPlatform::PresentFrame(const gfx::Surface& frame) {
  Win32Platform::PresentFrame(frame);
  Publish();
}

bool HookedPlatform::PollEvent(app::InputEvent& event) {
  if (Win32Platform::PollEvent(event)) return true;
  Publish();
  return false;
}

void HookedPlatform::EndProgram(int status) {
  if (dump_) std::fclose(dump_);
  dump_ = nullptr;
  Win32Platform::EndProgram(status);
}

}  // namespace orvo::win32
