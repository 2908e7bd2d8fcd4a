// The pauses of the rules, in milliseconds.
#pragma once

#include <cstdint>

namespace orvo::game {

// Before each frame of a merge or blast animation.
inline constexpr std::int32_t FrameDelay = 100;
// Between two fall steps of a cascade.
inline constexpr std::int32_t kFallPause = 200;
// After a cascade or a blast, before the next pair enters.
inline constexpr std::int32_t kSpawnPause = 500;

}  // namespace orvo::game
