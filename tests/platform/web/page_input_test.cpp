// The page's events as the shell's input events.
#include "platform/web/page_input.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "app/app_services.h"
#include "app/platform.h"

namespace orvo::web {
namespace {

using Kind = app::InputEvent::Kind;

// "+38" key down, "-38" key up ("~" for a touch control's), "p3,4" / "r3,4"
// pointer press and release, "b0:12+" pad 0's button 12 down, "s1:0.5,-1"
// pad 1's stick, "g2" pad 2 gone, "f" focus lost.
std::string Text(const std::optional<app::InputEvent>& e) {
  if (!e) return "";
  const std::string key = std::to_string(app::CodeOf(e->key)) + (e->keyboard ? "" : "~");
  switch (e->kind) {
    case Kind::KeyDown:
      return '+' + key;
    case Kind::KeyUp:
      return '-' + key;
    case Kind::PointerDown:
      return 'p' + std::to_string(e->x) + ',' + std::to_string(e->y);
    case Kind::PointerUp:
      return 'r' + std::to_string(e->x) + ',' + std::to_string(e->y);
    case Kind::PadButton:
      return 'b' + std::to_string(e->pad) + ':' + std::to_string(static_cast<int>(e->button)) +
             (e->down ? '+' : '-');
    case Kind::PadStick: {
      char text[64];
      std::snprintf(text, sizeof text, "s%d:%g,%g", e->pad, e->stickX, e->stickY);
      return text;
    }
    case Kind::PadGone:
      return 'g' + std::to_string(e->pad);
    case Kind::FocusLost:
      return "f";
    default:
      return "?";
  }
}

PageEvent Event(PageEventKind kind) {
  return PageEvent{kind};
}

PageEvent Key(PageEventKind kind, int code) {
  PageEvent e{kind};
  e.code = code;
  return e;
}

PageEvent Pointer(PageEventKind kind, int x, int y) {
  PageEvent e{kind};
  e.x = x;
  e.y = y;
  return e;
}

PageEvent Pad(PageEventKind kind, int pad, int button = 0, int down = 0) {
  PageEvent e{kind};
  e.pad = pad;
  e.button = button;
  e.down = down;
  return e;
}

PageEvent Stick(int pad, int x, int y) {
  PageEvent e{PageEventKind::PadStick};
  e.pad = pad;
  e.stickX = x;
  e.stickY = y;
  return e;
}

TEST(PageInput, EachPageEventIsOneInputEvent) {
  using K = PageEventKind;
  const int dpadUp = static_cast<int>(app::PadButton::DpadUp);
  const int start = static_cast<int>(app::PadButton::Start);
  const int other = static_cast<int>(app::PadButton::Other);
  struct Case {
    PageEvent event;
    std::string want;
  } cases[] = {
      {Key(K::KeyDown, 38), "+38"},
      {Key(K::KeyUp, 38), "-38"},
      {Key(K::TapKeyUp, 37), "-37~"},
      {Pointer(K::PointerDown, 3, 4), "p3,4"},
      {Pointer(K::PointerUp, 5, 6), "r5,6"},
      {Pad(K::PadButton, 0, 12, 1), "b0:" + std::to_string(dpadUp) + "+"},
      {Pad(K::PadButton, 1, 9, 0), "b1:" + std::to_string(start) + "-"},
      {Pad(K::PadButton, 0, 16, 1), "b0:" + std::to_string(other) + "+"},
      {Pad(K::PadButton, 0, -1, 1), "b0:" + std::to_string(other) + "+"},
      {Stick(1, 500, -1000), "s1:0.5,-1"},
      {Pad(K::PadGone, 2), "g2"},
      {Event(K::FocusLost), "f"},
      {Event(K::None), ""},
      {Event(PageEventKind{99}), ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Text(InputEventOf(c.event)), c.want) << static_cast<int>(c.event.kind);
  }
}

// A page whose timers fire after two thirds of the time asked, and where
// events may arrive during a sleep.
class FakePage : public PageQueue {
 public:
  std::deque<PageEvent> queued;
  std::map<std::size_t, PageEvent> arriving;  // by the sleep (1, 2...) they end
  std::int64_t now = 1000;
  std::vector<std::int64_t> sleeps;

  std::optional<PageEvent> Take() override {
    if (queued.empty()) return std::nullopt;
    const PageEvent event = queued.front();
    queued.pop_front();
    return event;
  }
  void Sleep(std::int64_t ms) override {
    sleeps.push_back(ms);
    if (const auto arrival = arriving.find(sleeps.size()); arrival != arriving.end()) {
      queued.push_back(arrival->second);
    } else if (ms < 0 || sleeps.size() > 100) {
      ADD_FAILURE() << "sleeps for ever";
      queued.push_back(Event(PageEventKind::FocusLost));
    } else {
      now += ms - ms / 3;
    }
  }
  std::int64_t Now() override { return now; }
};

TEST(PageInput, TheWaitEndsWithAnEventOrAtTheDeadlineNeverSooner) {
  using K = PageEventKind;
  struct Case {
    const char* what;
    std::vector<PageEvent> queued;
    std::int64_t deadline;
    std::map<std::size_t, PageEvent> arriving;
    std::string want;
    std::int64_t wantNow;
    std::vector<std::int64_t> wantSleeps;
  } cases[] = {
      {"a queued event, after those that stand for nothing",
       {Event(K::None), Event(PageEventKind{99}), Key(K::KeyDown, 38)},
       app::kNoWait,
       {},
       "+38",
       1000,
       {}},
      {"no event and no wait", {}, app::kNoWait, {}, "", 1000, {}},
      {"no event and a deadline passed", {}, 999, {}, "", 1000, {}},
      {"early timers are slept again until the deadline",
       {},
       1100,
       {},
       "",
       1100,
       {100, 33, 11, 3, 1}},
      {"an event that comes during the wait",
       {},
       1100,
       {{2, Key(K::KeyUp, 37)}},
       "-37",
       1067,
       {100, 33}},
      {"no deadline: a sleep without limit until an event",
       {},
       app::kNothingDue,
       {{1, Pointer(K::PointerDown, 3, 4)}},
       "p3,4",
       1000,
       {-1}},
  };
  for (const Case& c : cases) {
    FakePage page;
    page.queued.assign(c.queued.begin(), c.queued.end());
    page.arriving = c.arriving;
    EXPECT_EQ(Text(NextInputEvent(page, c.deadline)), c.want) << c.what;
    EXPECT_EQ(page.now, c.wantNow) << c.what;
    EXPECT_EQ(page.sleeps, c.wantSleeps) << c.what;
  }
}

}  // namespace
}  // namespace orvo::web
