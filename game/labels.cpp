#include "game/labels.h"

#include "game/game_services.h"

namespace orvo::game {

void Labels::SetCaption(Control c, const std::string& text) {
  At(c).Caption = text;
  services_.ControlChanged(c, ControlChange::Caption, At(c));
}

void Labels::SetTag(Control c, const std::string& tag) {
  At(c).Tag = tag;
  services_.ControlChanged(c, ControlChange::Tag, At(c));
}

void Labels::SetVisible(Control c, bool visible) {
  At(c).Visible = visible;
  services_.ControlChanged(c, ControlChange::Visible, At(c));
}

void Labels::SetTextColor(Control c, gfx::Color color) {
  At(c).TextColor = color;
  services_.ControlChanged(c, ControlChange::Color, At(c));
}

}  // namespace orvo::game
