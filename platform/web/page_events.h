// The page's input as the platform takes it: the page's handlers queue the
// events (in JavaScript); the platform takes them one at a time, or waits
// for the next one.
#pragma once

#include <cstdint>

namespace orvo::web {

enum class PageEventKind {
  None = 0,
  KeyDown = 1,      // a: the virtual-key code
  KeyUp = 2,        // a: the virtual-key code
  PointerDown = 3,  // a, b: x and y in window coordinates
  PointerUp = 4,    // a, b: x and y in window coordinates
  PadButton = 5,    // a: the pad; b: the standard layout's button index * 2, + 1 when down
  PadStick = 6,     // a: the pad; b: (x + 1000) * 4096 + (y + 1000), x and y in thousandths
  PadGone = 7,      // a: the pad, disconnected
  TapKeyUp = 8,     // a: the virtual-key code of a touch control let go
};
inline constexpr int kLastPageEventKind = 8;

struct PageEvent {
  PageEventKind kind = PageEventKind::None;
  int a = 0;
  int b = 0;
};

// The next queued event, if any (kind None when the queue is empty).
PageEvent TakePageEvent();
// Sleeps until an event is queued or `ms` milliseconds have passed (a
// negative `ms`: until an event). The page stays responsive meanwhile.
void WaitForPageEvent(std::int64_t ms);
// Sleeps `ms` milliseconds; events stay queued.
void SleepMs(std::int64_t ms);
// Milliseconds since the page started, from its monotonic clock.
double PageClockMs();
// Notes a named moment of the start-up in the page's performance timeline
// (performance.mark), where the page's figures find it.
void PageMark(const char* name);
// Ends the program for good: it stops where it is and never runs again (the
// page has said why). Unlike an exit, nothing unwinds through the page.
[[noreturn]] void HaltProgram();

}  // namespace orvo::web
