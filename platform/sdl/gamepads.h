// The pads plugged into the desktop, as SDL's game controllers: opened when
// SDL reports one added (those present at start-up included), closed when it
// is removed, and their buttons and left stick reported as the shell's pad
// events (the shell maps them to the game's keys). Joysticks that SDL does
// not know as game controllers are left alone.
#pragma once

#include <SDL2/SDL.h>

#include <cstddef>
#include <map>
#include <vector>

#include "app/input_event.h"

namespace orvo::sdl {

class Gamepads {
 public:
  Gamepads() = default;
  ~Gamepads();
  Gamepads(const Gamepads&) = delete;
  Gamepads& operator=(const Gamepads&) = delete;

  // Starts SDL's game controller subsystem (after SDL_Init). False when it
  // cannot start: there are no pads then, and the keyboard still plays.
  bool Start();
  // Takes `event` when it is a game controller's, appending the input
  // events it makes to `out`; false for every other event.
  bool Handle(const SDL_Event& event, std::vector<app::InputEvent>& out);
  // Closes every pad without making events; before SDL quits, which would
  // close them under us.
  void CloseAll();
  // How many pads are open.
  std::size_t Count() const { return pads_.size(); }

 private:
  struct Pad {
    SDL_GameController* controller = nullptr;
    float x = 0;  // the left stick's last position
    float y = 0;
  };
  void Added(int deviceIndex);
  void Removed(SDL_JoystickID id, std::vector<app::InputEvent>& out);

  std::map<SDL_JoystickID, Pad> pads_;  // by SDL's instance id
};

}  // namespace orvo::sdl
