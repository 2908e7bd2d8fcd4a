// The application: start-up and shutdown, the window's event handlers, the
// game loop, the key table and Wait. It runs the rules on whatever Host it is
// given and provides them their services.
#pragma once

#include <cstdint>
#include <string>

#include "app/form.h"
#include "app/host.h"
#include "app/key_table.h"
#include "game/game.h"
#include "gfx/bitmap_cache.h"
#include "gfx/surface_table.h"

namespace orvo::app {

// How many game loops may run one inside the other. A Stop and a Start
// clicked in one batch of events start a game inside the running loop's event
// processing; without a bound, enough such pairs overflow the stack.
inline constexpr int kMaxNestedGameLoops = 256;

class App : public game::GameServices {
 public:
  explicit App(Host& host);

  // Start-up after the folder checks: binds the bitmap cache, makes the board
  // surface, loads the three pictures from `graphicsPath` (ending in the
  // separator) and resets the game. False when a picture is missing or cannot
  // be decoded; `error` then holds the message to show.
  bool StartUp(const std::string& graphicsPath, std::string& error);
  // Releases every surface and ends the program at once.
  [[noreturn]] void ShutDown();

  // Window events.
  void Form_KeyDown(int keyCode, int shift = 0);
  void Form_KeyUp(int keyCode, int shift = 0);
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

  // GameServices.
  std::int64_t TickCount() override;
  void Wait(std::int32_t ms) override;
  float NextRandom() override;
  void ReseedRandom() override;
  void RefreshFront() override;
  void SetCaption(game::Control c, const std::string& text) override;
  void SetTag(game::Control c, const std::string& tag) override;
  void SetVisible(game::Control c, bool visible) override;
  void SetTextColor(game::Control c, gfx::Color color);

  game::Game& TheGame() { return game_; }
  const game::Game& TheGame() const { return game_; }
  Form& Controls() { return form_; }
  const Form& Controls() const { return form_; }
  KeyTable& Keys() { return keys_; }
  gfx::SurfaceTable& Surfaces() { return surfaces_; }
  gfx::BitmapCache& Cache() { return cache_; }
  gfx::SurfaceHandle FrontDC() const { return front_dc_; }

 private:
  Host& host_;
  Form form_;
  KeyTable keys_{};
  gfx::SurfaceTable surfaces_;
  gfx::BitmapCache cache_;
  gfx::SurfaceHandle front_dc_ = gfx::kNoSurface;
  game::Game game_;
  // The game loops running now, one inside the other.
  int running_loops_ = 0;
};

}  // namespace orvo::app
