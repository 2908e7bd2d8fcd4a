// The one-line JSON picture of the game that `dump` prints.
#pragma once

#include <cstdint>
#include <string>

#include "app/form.h"
#include "game/game.h"

namespace orvo::replay {

std::string StateDump(const game::Game& game, const app::Form& form, std::int64_t tick,
                      std::uint64_t randomUsed);

}  // namespace orvo::replay
