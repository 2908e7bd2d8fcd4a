// The main window's event handlers and the Start/Stop/Exit protocol.
#include <algorithm>
#include <cctype>

#include "app/app.h"

namespace orvo::app {

namespace {

game::Control ActionControl(int index) {
  return index == 0 ? game::Control::lblAction0 : game::Control::lblAction1;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  return s;
}

}  // namespace

// Key codes outside the table are ignored.
void App::Form_KeyDown(Key key) {
  if (!KeyTable::Holds(key)) return;
  keys_[key].Pressed = true;
}

void App::Form_KeyUp(Key key) {
  if (!KeyTable::Holds(key)) return;
  // An Enter press stays recorded until the game loop has acted on it.
  if (key == Key::Enter) return;
  keys_[key].Pressed = false;
}

void App::Form_Paint() {
  game_.DrawBoard();
}

void App::Form_Unload() {
  game_.State().Running = false;
  ShutDown();
}

void App::lblAction_Click(int index) {
  if (index < 0 || index > 1) return;
  const game::Control control = ActionControl(index);
  // The protocol follows the tag, compared in lower case, not the index.
  const std::string tag = Lower(labels_[control].Tag);
  if (tag == "start") {
    if (game_.State().Running) return;
    // A deliberate bound: every Start inside a running loop's event processing
    // nests one more loop on the stack, and unbounded nesting overflowed it.
    // The click past the bound is ignored and changes nothing.
    if (running_loops_ >= kMaxNestedGameLoops) {
      services_.StartClickIgnored();
      return;
    }
    labels_.SetCaption(control, "Stop");
    labels_.SetTag(control, "stop");
    game_.State().Running = true;
    game_.NewGame();
    game_.SpawnPair();
    // Repaint the whole board so that no block of the previous game stays
    // in the picture.
    game_.DrawBoard();
    // The whole game runs inside this click.
    GameLoop();
  } else if (tag == "stop") {
    game_.State().Running = false;
    labels_.SetCaption(control, "Start");
    labels_.SetTag(control, "start");
  } else if (tag == "end") {
    Form_Unload();
  }
}

void App::lblAction_MouseDown(int index) {
  if (index < 0 || index > 1) return;
  SetTextColor(ActionControl(index), kPressedColor);
}

void App::lblAction_MouseUp(int index) {
  if (index < 0 || index > 1) return;
  SetTextColor(ActionControl(index), kCaptionColor);
}

}  // namespace orvo::app
