#include "app/app_services.h"

namespace orvo::app {

void AppServices::Wait(std::int32_t ms) {
  // Window events stay queued for the whole wait.
  const std::int64_t start = TickCount();
  WaitUntil(start + ms, ms);
}

}  // namespace orvo::app
