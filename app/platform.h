// The platform contract: all that a place where Orvo runs (a desktop window,
// a web page, a headless runner) provides. The window shell (shell.h) does
// everything else once for every platform: the game and its loop, the
// caption presses, the label layout, when a change is shown, the
// composition of each frame and the start-up sequence.
//
// A platform turns its system's events into InputEvents, presents the
// frames the shell composes, tells time and sleeps, decodes pictures,
// renders label text, shows the fatal message and ends the program. Every
// coordinate is in the window's own 580 x 388 pixels, whatever the scale at
// which the platform shows them.
//
// Writing one: implement every pure function below, then
//   MyPlatform platform;  app::Shell shell(platform);  shell.Run();
// Run() never returns: the program ends through EndProgram.
#pragma once

#include <cstdint>
#include <string>

#include "app/app_services.h"
#include "app/form.h"
#include "gfx/alpha_mask.h"
#include "gfx/picture_decoder.h"
#include "gfx/surface.h"

namespace orvo::app {

class Shell;

// One input event, as the platform hands it to the shell.
struct InputEvent {
  enum class Kind {
    KeyDown,       // `key` went down, or repeats while held
    KeyUp,         // `key` went up
    PointerDown,   // the primary button (or a finger) went down at (x, y)
    PointerUp,     // ... and came up at (x, y)
    PointerMove,   // the pointer moved to (x, y)
    Expose,        // the window's picture was lost or resized: draw it anew
    Close,         // the player asked to close the window: the program ends
    CaptionClick,  // caption `key` (0 Start/Stop, 1 Exit) was clicked by other
                   // means than the pointer (a gamepad's Start button)
  };
  Kind kind = Kind::Expose;
  int key = 0;  // the virtual-key code (13 Enter, 27 Escape, 37 Left, 38 Up, 40 Down)
  int x = 0;
  int y = 0;
};

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

class Platform {
 public:
  virtual ~Platform() = default;

  // --- Start-up ---------------------------------------------------------
  // The folder of the program's own file (with or without a trailing "/");
  // the game's pictures are in its "Graphics/" folder.
  virtual std::string ProgramFolder() = 0;
  // The character that ends a folder in the paths the player sees (the
  // fatal message names folders): "/", or "\\" on Windows.
  virtual char FolderSeparator() const { return '/'; }
  // Whether `folder` (ending in its separator) exists and holds at least one
  // ordinary file: no folder, nothing hidden. Start-up's check of the
  // program's and the pictures' folders. The default lists it with
  // gfx::HoldsOrdinaryFile, where dot-files are hidden; Windows has hidden
  // and system files by their attributes.
  virtual bool HoldsOrdinaryFile(const std::string& folder);
  // Creates the window, not yet shown, with what its frames need. Fills
  // `background` with the window's background picture (drawn at 0, 0 under
  // everything). False with `error` (the whole message) when it cannot; the
  // shell then shows the fatal message.
  virtual bool OpenWindow(gfx::Surface& background, std::string& error) = 0;
  // Shows the window for the first time, with `frame` (580 x 388) in it.
  virtual void ShowWindow(const gfx::Surface& frame) = 0;
  // Shows `message` under `title` to the player (a message box, the page,
  // standard error) and returns once it has been seen or cannot be shown.
  // The shell then ends the program with status 1.
  virtual void ShowFatalMessage(const std::string& title, const std::string& message) = 0;
  // Ends the program at once with `status`; never returns.
  [[noreturn]] virtual void EndProgram(int status) = 0;

  // --- Output -----------------------------------------------------------
  // Shows `frame` (580 x 388) in the window now, scaled as the window is.
  virtual void PresentFrame(const gfx::Surface& frame) = 0;
  // The label text renderer; used from OpenWindow on (and for hit tests).
  virtual const LabelText& Text() = 0;
  // The decoder of the game's picture files.
  virtual const gfx::PictureDecoder& Pictures() = 0;

  // --- Time and input ---------------------------------------------------
  // Milliseconds of a monotonic 64-bit clock.
  virtual std::int64_t TickCount() = 0;
  // Sleeps until TickCount() >= deadline, never less. Input events stay
  // queued, but a request to close the window may end the sleep early:
  // false then, and the shell ends the program at once.
  virtual bool WaitUntil(std::int64_t deadline) = 0;
  // Takes the next queued input event; false when none is queued. Never
  // waits.
  virtual bool PollEvent(InputEvent& event) = 0;
  // Sleeps until an input event is queued (it stays queued) or TickCount()
  // reaches `deadline` (kNothingDue: no deadline); returns at once when one
  // is queued or the deadline has passed.
  virtual void SleepUntilEvent(std::int64_t deadline) = 0;
  // The game loop's event processing: hands every queued event to the
  // shell, and when there was none, sleeps until one arrives or `nextDue`
  // and hands those over. Written once here on PollEvent and
  // SleepUntilEvent; a headless platform replaces it to run its script.
  virtual void ProcessEvents(std::int64_t nextDue, Shell& shell);

  // --- The random source ------------------------------------------------
  // Uniform single-precision numbers in [0, 1).
  virtual float NextRandom() = 0;
  // A new game starts the random source afresh (from the clock, say).
  virtual void ReseedRandom() = 0;
};

}  // namespace orvo::app
