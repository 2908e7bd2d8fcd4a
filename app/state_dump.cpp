#include "app/state_dump.h"

#include <array>

#include <nlohmann/json.hpp>

namespace orvo::app {
namespace {

using Json = nlohmann::ordered_json;
using game::Control;

Json Colour(gfx::Color c) {
  return Json::array({c & 0xFFu, (c >> 8) & 0xFFu, (c >> 16) & 0xFFu});
}

}  // namespace

std::string StateDump(const game::Game& game, const game::Labels& values, std::int64_t tick,
                      std::uint64_t randomUsed) {
  const game::GameState& s = game.State();
  Json j;
  j["tick"] = tick;
  j["running"] = s.Running;
  j["pairActive"] = s.PairActive;
  j["pairX"] = s.PairX;
  j["pairY"] = s.PairY;
  j["level"] = s.Level;
  j["points"] = s.Points;
  j["reactions"] = s.Reactions;
  j["maxReactions"] = s.MaxReactions;
  j["cleared"] = s.Cleared;
  j["bombs"] = s.Bombs;
  j["nextBombPoints"] = s.NextBombPoints;
  j["lastSlideTime"] = s.LastSlideTime;
  j["randomUsed"] = randomUsed;

  Json board = Json::array();
  for (int r = 0; r < game::kBoardRows; ++r) {
    Json row = Json::array();
    for (int c = 0; c < game::kBoardColumns; ++c) row.push_back(game.Cells()(c, r));
    board.push_back(std::move(row));
  }
  j["board"] = std::move(board);

  static constexpr std::array kLabels = {
      Control::lblLevel,           Control::lblReactions, Control::lblPoints,
      Control::lblNextLevelPoints, Control::lblBombs,     Control::lblScore,
      Control::lblMaxReactions,    Control::lblAction0,   Control::lblAction1};
  static constexpr std::array kActions = {Control::lblAction0, Control::lblAction1};
  static constexpr std::array kOverBoard = {Control::Label3, Control::Label4, Control::lblScore,
                                            Control::lblMaxReactions};
  Json& labels = j["labels"] = Json::object();
  for (Control c : kLabels) labels[std::string(game::ControlName(c))] = values[c].Caption;
  Json& tags = j["tags"] = Json::object();
  for (Control c : kActions) tags[std::string(game::ControlName(c))] = values[c].Tag;
  Json& visible = j["visible"] = Json::object();
  for (Control c : kOverBoard) visible[std::string(game::ControlName(c))] = values[c].Visible;
  Json& colors = j["colors"] = Json::object();
  for (Control c : kActions)
    colors[std::string(game::ControlName(c))] = Colour(values[c].TextColor);
  return j.dump();
}

}  // namespace orvo::app
