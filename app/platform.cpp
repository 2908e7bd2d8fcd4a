#include "app/platform.h"

#include "app/shell.h"
#include "gfx/file_lookup.h"

namespace orvo::app {

bool Platform::HoldsOrdinaryFile(const std::string& folder) {
  return gfx::HoldsOrdinaryFile(folder);
}

void Platform::ProcessEvents(std::int64_t nextDue, Shell& shell) {
  const auto deliver_queued = [&] {
    bool any = false;
    for (InputEvent event; PollEvent(event);) {
      any = true;
      shell.Deliver(event);
    }
    shell.ShowPending();
    return any;
  };
  // After an event the loop's next turn may have something to do at once.
  if (deliver_queued()) return;
  SleepUntilEvent(nextDue);
  deliver_queued();
}

}  // namespace orvo::app
