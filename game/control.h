// The window's controls by the names the rules write to.
#pragma once

#include <array>
#include <string_view>

namespace orvo::game {

enum class Control {
  Label0,  // "Level_"
  Label1,  // "Reactions_"
  Label2,  // "_Points"
  Label3,  // "Your Highscore" (over the board, after a game)
  Label4,  // "Chain Reactions" (over the board, after a game)
  Label5,  // "Bombs_"
  lblLevel,
  lblReactions,
  lblPoints,
  lblNextLevelPoints,
  lblBombs,
  lblScore,
  lblMaxReactions,
  lblAction0,  // Start / Stop
  lblAction1,  // Exit
};

inline constexpr int kControlCount = 15;

constexpr std::string_view ControlName(Control c) {
  constexpr std::array<std::string_view, kControlCount> names = {
      "Label0",   "Label1",   "Label2",          "Label3",     "Label4",
      "Label5",   "lblLevel", "lblReactions",    "lblPoints",  "lblNextLevelPoints",
      "lblBombs", "lblScore", "lblMaxReactions", "lblAction0", "lblAction1"};
  return names[static_cast<int>(c)];
}

}  // namespace orvo::game
