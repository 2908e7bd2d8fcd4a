// The game's random source during a replay: the numbers the scenario queued
// with `random`, then those of a generator seeded with `seed`.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>

#include "game/random_generator.h"

namespace orvo::replay {

class RandomSource {
 public:
  void Append(float x) { queue_.push_back(x); }
  // From now on an empty queue is refilled from a generator seeded with `seed`
  // (a later seed starts the generator afresh).
  void Seed(std::int64_t seed);
  // The next number in [0, 1). Throws ReplayError("random numbers used up")
  // when the queue is empty and no seed was given.
  float Next();
  // How many numbers the game has taken.
  std::uint64_t Used() const { return used_; }

 private:
  std::deque<float> queue_;
  std::optional<game::RandomGenerator> generator_;
  std::uint64_t used_ = 0;
};

}  // namespace orvo::replay
