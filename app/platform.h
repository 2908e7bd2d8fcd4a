// The platform contract: all that a place where Orvo runs (a desktop window,
// a web page, a headless runner) provides, in ten functions. The window
// shell (shell.h) does everything else once for every platform: the event
// queue and the order in which events reach the game, the waits, the random
// source and its seeding, the rules of focus, gamepads and touch controls,
// the caption presses, the label layout, when a change is shown, the
// composition of each frame, the test hooks and the start-up sequence.
//
// A platform turns its system's events into InputEvents and hands them out
// one at a time from WaitForEvent, presents the frames the shell composes,
// tells time, finds the program's folder, lists folders and reads files
// (the game decodes its pictures itself, the same way everywhere), renders
// label text, shows the fatal message and ends the program. Every coordinate is in
// the window's own 580 x 388 pixels, whatever the scale at which the
// platform shows them.
//
// Writing one: implement the ten functions below, then
//   MyPlatform platform;  app::Shell shell(platform);  shell.Run();
// Run() never returns: the program ends through EndProgram.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "app/app_services.h"
#include "app/form.h"
#include "app/input_event.h"
#include "gfx/alpha_mask.h"
#include "gfx/file_reader.h"
#include "gfx/surface.h"

namespace orvo::app {

// A deadline that has always passed: take an event only if one is there.
inline constexpr std::int64_t kNoWait = std::numeric_limits<std::int64_t>::min();

// Renders the labels' captions. Each caption is drawn as one coverage mask
// whose size is the caption's box: the width of its text and the height of
// its face's line; an empty caption is an empty mask (and has no box).
class LabelText {
 public:
  virtual ~LabelText() = default;
  // `utf8` in `face`, coverage 0 to 255 per pixel. Malformed UTF-8 and
  // characters the face lacks are left out; never fails.
  virtual gfx::AlphaMask Render(FontFace face, const std::string& utf8) const = 0;
};

class Platform : public gfx::FileReader {
 public:
  ~Platform() override = default;

  // --- The program's files ------------------------------------------------
  // 1. The folder of the program's own file, ending in the separator of the
  // paths the player sees ("/", or "\" on Windows); the game's pictures are
  // in its "Graphics" folder. On failure, only the separator.
  virtual std::string ProgramFolder() = 0;
  // 2. The entries of `folder`, each with its kind (an ordinary file, one
  // the system marks hidden, a folder, anything else), or nullopt when it
  // cannot be listed. The game finds its files by letter case and tells the
  // ordinary ones from the rest itself (gfx/file_lookup.h).
  std::optional<std::vector<gfx::FolderEntry>> ListFolder(
      const std::string& folder) const override = 0;
  // 3. The whole file at `path`, or why not: it cannot be opened (with the
  // system's words), it has more than `limit` bytes (found out without
  // reading much past them), or reading it failed.
  gfx::FileRead ReadFile(const std::string& path, std::int64_t limit,
                         std::vector<std::uint8_t>& bytes) const override = 0;

  // --- The window ---------------------------------------------------------
  // 4. The label text renderer; used from OpenWindow on (and for hit tests).
  virtual const LabelText& Text() = 0;
  // 5. Creates the window, not yet shown, with what its frames need. Fills
  // `background` with the window's background picture (drawn at 0, 0 under
  // everything). False with `error` (the whole message) when it cannot; the
  // shell then shows the fatal message.
  virtual bool OpenWindow(gfx::Surface& background, std::string& error) = 0;
  // 6. Shows `frame` (580 x 388) in the window now, scaled as the window is;
  // the first frame shows the window.
  virtual void PresentFrame(const gfx::Surface& frame) = 0;
  // 7. Shows `message` under `title` to the player (a message box, the page,
  // standard error) and returns once it has been seen or cannot be shown.
  // The shell then ends the program with status 1.
  virtual void ShowFatalMessage(const std::string& title, const std::string& message) = 0;
  // 8. Ends the program at once with `status`; never returns.
  [[noreturn]] virtual void EndProgram(int status) = 0;

  // --- Time and input -----------------------------------------------------
  // 9. Milliseconds of a monotonic 64-bit clock.
  virtual std::int64_t TickCount() = 0;
  // 10. The next input event: one that has arrived, or else the first to
  // arrive before TickCount() reaches `deadline` (kNothingDue: none, wait for
  // an event; kNoWait or any tick passed: do not wait). Nothing once the
  // deadline is reached, never sooner. Events come out in the order they
  // arrived; the window's own keys (switching the full screen) never do.
  virtual std::optional<InputEvent> WaitForEvent(std::int64_t deadline) = 0;
};

}  // namespace orvo::app
