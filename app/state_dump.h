// The game's state as one line of JSON: the board, the game's variables and
// what the labels show. The replay runner prints it for `dump`, and the web
// page's test hook publishes the same line.
#pragma once

#include <cstdint>
#include <string>

#include "game/game.h"
#include "game/labels.h"

namespace orvo::app {

// `tick`: the clock now; `randomUsed`: how many numbers the game has taken
// from its random source.
std::string StateDump(const game::Game& game, const game::Labels& values, std::int64_t tick,
                      std::uint64_t randomUsed);

}  // namespace orvo::app
