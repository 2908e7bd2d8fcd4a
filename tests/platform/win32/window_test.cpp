// The Windows window's own part: its messages as the shell's input events
// (the game's keys, also those let go with Alt held; the keys the window
// keeps, from Windows' own message sequences; the focus loss; the close
// button), WaitForEvent's deadline; UTF-8 to UTF-16 and back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_services.h"
#include "platform/win32/utf16.h"
#include "platform/win32/win32_platform.h"

namespace orvo::win32 {
namespace {

using app::InputEvent;

// A message Windows sends to the window, with its lParam as the keyboard
// driver fills it (scan code, bit 24 extended, bit 29 Alt, bit 30 the key
// was down before, bit 31 going up).
struct Message {
  UINT message;
  WPARAM w;
  LPARAM l;
};

std::string Describe(const InputEvent& e) {
  switch (e.kind) {
    case InputEvent::Kind::KeyDown:
      return "down " + std::to_string(app::CodeOf(e.key));
    case InputEvent::Kind::KeyUp:
      return "up " + std::to_string(app::CodeOf(e.key));
    case InputEvent::Kind::FocusLost:
      return "focus lost";
    case InputEvent::Kind::Close:
      return "close";
    default:
      return "other";
  }
}

class Win32Window : public ::testing::Test {
 protected:
  // One window for the whole program: its class is registered once.
  static void SetUpTestSuite() {
    platform_ = new Win32Platform;
    gfx::Surface background;
    std::string error;
    if (!platform_->OpenWindow(background, error)) FAIL() << error;
    window_ = FindWindowW(L"OrvoWindow", nullptr);
  }
  static void TearDownTestSuite() {
    delete platform_;
    platform_ = nullptr;
  }
  void SetUp() override { ASSERT_NE(window_, nullptr); }

  // Posts `messages` and describes the events they become, in order. The
  // pointer's moves are left out: a window resized under the pointer
  // reports one.
  static std::vector<std::string> EventsOf(const std::vector<Message>& messages) {
    for (const Message& m : messages) PostMessageW(window_, m.message, m.w, m.l);
    std::vector<std::string> events;
    while (const std::optional<InputEvent> e = platform_->WaitForEvent(app::kNoWait)) {
      if (e->kind != InputEvent::Kind::PointerMove) events.push_back(Describe(*e));
    }
    return events;
  }
  static bool FullScreen() { return (GetWindowLongPtrW(window_, GWL_STYLE) & WS_POPUP) != 0; }

  static Win32Platform* platform_;
  static HWND window_;
};

Win32Platform* Win32Window::platform_ = nullptr;
HWND Win32Window::window_ = nullptr;

TEST_F(Win32Window, KeyMessagesBecomeTheGamesKeysAndTheWindowKeepsItsOwn) {
  struct Case {
    const char* what;
    std::vector<Message> messages;
    std::vector<std::string> events;
    bool fullScreenAfter;
  } cases[] = {
      {"Left pressed, repeated, let go",
       {{WM_KEYDOWN, VK_LEFT, 0x014B0001},
        {WM_KEYDOWN, VK_LEFT, 0x414B0001},
        {WM_KEYUP, VK_LEFT, static_cast<LPARAM>(0xC14B0001)}},
       {"down 37", "down 37", "up 37"},
       false},
      {"Left let go with Alt held comes as the system's key: the game sees it up",
       {{WM_KEYDOWN, VK_LEFT, 0x014B0001},
        {WM_SYSKEYDOWN, VK_MENU, 0x20380001},
        {WM_SYSKEYUP, VK_LEFT, static_cast<LPARAM>(0xE14B0001)},
        {WM_KEYUP, VK_MENU, static_cast<LPARAM>(0xC0380001)}},
       {"down 37", "down 18", "up 37", "up 18"},
       false},
      {"Alt+Enter, Alt let go first: Enter's repeats and release stay the window's",
       {{WM_SYSKEYDOWN, VK_MENU, 0x20380001},
        {WM_SYSKEYDOWN, VK_RETURN, 0x201C0001},
        {WM_SYSKEYDOWN, VK_RETURN, 0x601C0001},
        {WM_KEYUP, VK_MENU, static_cast<LPARAM>(0xC0380001)},
        {WM_KEYDOWN, VK_RETURN, 0x401C0001},
        {WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC01C0001)}},
       {"down 18", "up 18"},
       true},
      {"F11 held switches once, back to the window",
       {{WM_KEYDOWN, VK_F11, 0x00570001},
        {WM_KEYDOWN, VK_F11, 0x40570001},
        {WM_KEYUP, VK_F11, static_cast<LPARAM>(0xC0570001)}},
       {},
       false},
      {"Enter held into Alt is the game's, its repeat and release too",
       {{WM_KEYDOWN, VK_RETURN, 0x001C0001},
        {WM_SYSKEYDOWN, VK_MENU, 0x20380001},
        {WM_SYSKEYDOWN, VK_RETURN, 0x601C0001},
        {WM_SYSKEYUP, VK_RETURN, static_cast<LPARAM>(0xE01C0001)},
        {WM_KEYUP, VK_MENU, static_cast<LPARAM>(0xC0380001)}},
       {"down 13", "down 18", "down 13", "up 13", "up 18"},
       false},
      {"the keyboard lost in the middle of Alt+Enter: a new Enter is the game's",
       {{WM_SYSKEYDOWN, VK_RETURN, 0x201C0001},
        {WM_KILLFOCUS, 0, 0},
        {WM_KEYDOWN, VK_RETURN, 0x001C0001},
        {WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC01C0001)}},
       {"focus lost", "down 13", "up 13"},
       true},
      {"the close button", {{WM_CLOSE, 0, 0}}, {"close"}, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EventsOf(c.messages), c.events) << c.what;
    EXPECT_EQ(FullScreen(), c.fullScreenAfter) << c.what;
  }
}

TEST_F(Win32Window, AWaitEndsAtItsDeadlineNeverSooner) {
  // Nothing queued: no event, and the clock has reached the deadline.
  const std::int64_t deadline = platform_->TickCount() + 30;
  EXPECT_FALSE(platform_->WaitForEvent(deadline).has_value());
  EXPECT_GE(platform_->TickCount(), deadline);
  // A message that has arrived is handed out even when the deadline has
  // passed.
  PostMessageW(window_, WM_KEYDOWN, VK_UP, 0x01480001);
  const std::optional<InputEvent> e = platform_->WaitForEvent(deadline);
  ASSERT_TRUE(e.has_value());
  EXPECT_EQ(Describe(*e), "down 38");
}

TEST(Utf16, PathsRoundTripInEveryScript) {
  const std::string names[] = {"",
                               "C:\\Games\\Orvo\\",
                               "C:\\Spiele\\Grüße\\",
                               "D:\\Игры\\Орво\\",
                               "E:\\ゲーム\\",
                               "F:\\\xF0\x9F\x8E\xAE\\"};
  for (const std::string& name : names) EXPECT_EQ(Utf8(Utf16(name)), name);
  EXPECT_EQ(Utf16("Grüße"), std::wstring(L"Gr\u00FC\u00DFe"));
  // A character outside the basic plane is a surrogate pair.
  EXPECT_EQ(Utf16("\xF0\x9F\x8E\xAE"), std::wstring(L"\xD83C\xDFAE"));
  // Malformed UTF-8 becomes U+FFFD rather than vanishing or failing.
  EXPECT_EQ(Utf16("a\xFF"
                  "b"),
            std::wstring(L"a\uFFFDb"));
}

}  // namespace
}  // namespace orvo::win32
