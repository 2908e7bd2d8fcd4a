// The page's input as the platform takes it: the page's handlers queue the
// events (in JavaScript); the platform takes them one at a time, or waits
// for the next one.
#pragma once

#include <cstdint>

namespace orvo::web {

enum class PageEventKind { None = 0, KeyDown = 1, KeyUp = 2, PointerDown = 3, PointerUp = 4 };

struct PageEvent {
  PageEventKind kind = PageEventKind::None;
  int a = 0;  // the virtual-key code, or x in window coordinates
  int b = 0;  // y in window coordinates
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
// Ends the program for good: it stops where it is and never runs again (the
// page has said why). Unlike an exit, nothing unwinds through the page.
[[noreturn]] void HaltProgram();

}  // namespace orvo::web
