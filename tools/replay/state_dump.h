// The one-line JSON picture of the game that `dump` prints.
#pragma once

#include <cstdint>
#include <string>

#include "game/game.h"
#include "game/labels.h"

namespace orvo::replay {

std::string StateDump(const game::Game& game, const game::Labels& values, std::int64_t tick,
                      std::uint64_t randomUsed);

}  // namespace orvo::replay
