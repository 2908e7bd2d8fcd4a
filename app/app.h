// The application: start-up and shutdown, the window's event handlers, the
// game loop and the key table. It owns the game, the labels and the board
// surface, runs them on the services it is given (the window shell), and
// shows what to draw through View().
#pragma once

#include <cstdint>
#include <string>

#include "app/app_services.h"
#include "app/form.h"
#include "app/key_table.h"
#include "game/game.h"
#include "game/labels.h"
#include "gfx/bitmap_cache.h"
#include "gfx/surface.h"
#include "gfx/surface_table.h"

namespace orvo::app {

// How many game loops may run one inside the other. A Stop and a Start
// clicked in one batch of events start a game inside the running loop's event
// processing; without a bound, enough such pairs overflow the stack.
inline constexpr int kMaxNestedGameLoops = 256;

// What the window shows: the board surface at Front, and every label where
// the form puts it with the values it has now.
struct FrameView {
  const gfx::Surface* Board;  // null until start-up has made it
  const Form& Layout;
  const game::Labels& Labels;
};

class App {
 public:
  explicit App(AppServices& services);
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Start-up after the folder checks: binds the bitmap cache, makes the board
  // surface, loads the three pictures from `graphicsPath` (ending in the
  // separator) and resets the game. False when a picture is missing or cannot
  // be decoded; `error` then holds the message to show.
  bool StartUp(const std::string& graphicsPath, std::string& error);
  // Releases every surface and ends the program at once.
  [[noreturn]] void ShutDown();

  // Window events.
  void Form_KeyDown(Key key);
  void Form_KeyUp(Key key);
  void Form_Paint();
  [[noreturn]] void Form_Unload();
  void lblAction_Click(int index);
  void lblAction_MouseDown(int index);
  void lblAction_MouseUp(int index);

  // The game loop and its key handling.
  void GameLoop();
  void ProcessKeys();
  // The earliest tick at which a loop turn can do anything; 0 when the loop
  // is about to end (Escape pressed, or the game no longer running).
  std::int64_t NextDue() const;

  FrameView View() const;

  // The rules, for the replay runner's commands (which set cells and
  // variables and land pairs by design) and for tests.
  game::Game& Rules() { return game_; }
  const game::Game& Rules() const { return game_; }
  // The key table and the labels, for tests that set a state directly.
  KeyTable& Keys() { return keys_; }
  game::Labels& Labels() { return labels_; }

 private:
  void SetTextColor(game::Control c, gfx::Color color) { labels_.SetTextColor(c, color); }

  AppServices& services_;
  const Form form_;
  game::Labels labels_;
  KeyTable keys_{};
  gfx::SurfaceTable surfaces_;
  gfx::BitmapCache cache_;
  gfx::SurfaceHandle front_dc_ = gfx::kNoSurface;
  game::Game game_;
  // The game loops running now, one inside the other.
  int running_loops_ = 0;
};

}  // namespace orvo::app
