#include "platform/web/page_events.h"

#include <emscripten.h>

namespace orvo::web {

namespace {

// The queue lives in the page (orvo_page.js); these read it.
// clang-format off
EM_JS(int, orvo_take_event, (int* out), {
  const queue = Module.orvoEvents || [];
  if (queue.length === 0) return 0;
  const e = queue.shift();
  HEAP32[(out >> 2) + 0] = e.a;
  HEAP32[(out >> 2) + 1] = e.b;
  return e.kind;
});
// clang-format on

// clang-format off
EM_ASYNC_JS(void, orvo_wait_event, (double ms), {
  const queue = Module.orvoEvents || [];
  if (queue.length > 0) return;
  await new Promise((resolve) => {
    let timer = null;
    if (ms >= 0) timer = setTimeout(() => { Module.orvoWake = null; resolve(); }, ms);
    Module.orvoWake = () => {
      if (timer !== null) clearTimeout(timer);
      Module.orvoWake = null;
      resolve();
    };
  });
});
// clang-format on

// clang-format off
EM_ASYNC_JS(void, orvo_halt, (), { await new Promise(() => {}); });
// clang-format on

// clang-format off
EM_JS(void, orvo_mark, (const char* name), {
  if (typeof performance !== 'undefined' && performance.mark) performance.mark(UTF8ToString(name));
});
// clang-format on

}  // namespace

void PageMark(const char* name) {
  orvo_mark(name);
}

void HaltProgram() {
  orvo_halt();
  __builtin_unreachable();
}

PageEvent TakePageEvent() {
  int values[2] = {0, 0};
  const int kind = orvo_take_event(values);
  if (kind < 1 || kind > kLastPageEventKind) return PageEvent{};
  return PageEvent{static_cast<PageEventKind>(kind), values[0], values[1]};
}

void WaitForPageEvent(std::int64_t ms) {
  orvo_wait_event(static_cast<double>(ms));
}

void SleepMs(std::int64_t ms) {
  emscripten_sleep(static_cast<unsigned>(ms));
}

double PageClockMs() {
  return emscripten_get_now();
}

}  // namespace orvo::web
