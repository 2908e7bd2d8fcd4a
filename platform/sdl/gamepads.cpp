#include "platform/sdl/gamepads.h"

#include <algorithm>

namespace orvo::sdl {

namespace {

app::PadButton PadButtonOf(Uint8 button) {
  using app::PadButton;
  switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
      return PadButton::South;
    case SDL_CONTROLLER_BUTTON_B:
      return PadButton::East;
    case SDL_CONTROLLER_BUTTON_X:
      return PadButton::West;
    case SDL_CONTROLLER_BUTTON_Y:
      return PadButton::North;
    case SDL_CONTROLLER_BUTTON_BACK:
      return PadButton::Back;
    case SDL_CONTROLLER_BUTTON_START:
      return PadButton::Start;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return PadButton::DpadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return PadButton::DpadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return PadButton::DpadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return PadButton::DpadRight;
    default:
      return PadButton::Other;
  }
}

// SDL's axes run from -32768 to 32767; both ends are a full lean.
float StickValueOf(Sint16 value) {
  return std::clamp(static_cast<float>(value) / 32767.0f, -1.0f, 1.0f);
}

}  // namespace

Gamepads::~Gamepads() {
  CloseAll();
}

bool Gamepads::Start() {
  // SDL reports the pads already plugged in as added, like later ones.
  return SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

void Gamepads::CloseAll() {
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0) {
    for (auto& [id, pad] : pads_) SDL_GameControllerClose(pad.controller);
  }
  pads_.clear();
}

void Gamepads::Added(int deviceIndex) {
  if (!SDL_IsGameController(deviceIndex)) return;
  SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
  if (!controller) return;  // taken away already, or not ours to read
  const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
  // SDL counts every open of a device; one is kept per pad, so that one
  // close on removal lets it go.
  if (id < 0 || pads_.contains(id)) {
    SDL_GameControllerClose(controller);
    return;
  }
  pads_[id] = Pad{controller};
}

void Gamepads::Removed(SDL_JoystickID id, std::vector<app::InputEvent>& out) {
  const auto it = pads_.find(id);
  if (it == pads_.end()) return;
  SDL_GameControllerClose(it->second.controller);
  pads_.erase(it);
  // Whatever the pad held when it went is let go: no key stays down.
  out.push_back(app::InputEvent::Gone(id));
}

bool Gamepads::Handle(const SDL_Event& event, std::vector<app::InputEvent>& out) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      // `which` is a device index here, an instance id in the others.
      Added(event.cdevice.which);
      return true;
    case SDL_CONTROLLERDEVICEREMOVED:
      Removed(event.cdevice.which, out);
      return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      // Only the pads opened here: one whose opening failed has no removal
      // that would let its keys go.
      if (pads_.contains(event.cbutton.which)) {
        out.push_back(app::InputEvent::Pad(event.cbutton.which, PadButtonOf(event.cbutton.button),
                                           event.type == SDL_CONTROLLERBUTTONDOWN));
      }
      return true;
    case SDL_CONTROLLERAXISMOTION: {
      const auto it = pads_.find(event.caxis.which);
      if (it == pads_.end()) return true;
      Pad& pad = it->second;
      if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
        pad.x = StickValueOf(event.caxis.value);
      } else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
        pad.y = StickValueOf(event.caxis.value);
      } else {
        return true;
      }
      out.push_back(app::InputEvent::Stick(event.caxis.which, pad.x, pad.y));
      return true;
    }
    case SDL_CONTROLLERDEVICEREMAPPED:
    case SDL_CONTROLLERTOUCHPADDOWN:
    case SDL_CONTROLLERTOUCHPADMOTION:
    case SDL_CONTROLLERTOUCHPADUP:
    case SDL_CONTROLLERSENSORUPDATE:
      return true;
    default:
      return false;
  }
}

}  // namespace orvo::sdl
