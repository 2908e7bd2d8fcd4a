// The window's labels as the rules and the application write them: caption,
// tag, visibility and text colour. Where and in which font a label is drawn
// is the application's business (its form); its values live here, and every
// write is told to the game's services.
#pragma once

#include <array>
#include <string>

#include "game/control.h"
#include "gfx/surface.h"

namespace orvo::game {

class GameServices;

enum class ControlChange { Caption, Tag, Visible, Color };

struct LabelState {
  std::string Caption;
  std::string Tag;
  bool Visible = true;
  gfx::Color TextColor = 0;
};

class Labels {
 public:
  explicit Labels(GameServices& services) : services_(services) {}

  const LabelState& operator[](Control c) const { return labels_[static_cast<int>(c)]; }

  // Each setter stores the value and tells the services.
  void SetCaption(Control c, const std::string& text);
  void SetTag(Control c, const std::string& tag);
  void SetVisible(Control c, bool visible);
  void SetTextColor(Control c, gfx::Color color);

  // The value a label starts with, before anything is shown; not told.
  void Initialize(Control c, const LabelState& label) { labels_[static_cast<int>(c)] = label; }

 private:
  LabelState& At(Control c) { return labels_[static_cast<int>(c)]; }

  GameServices& services_;
  std::array<LabelState, kControlCount> labels_;
};

}  // namespace orvo::game
