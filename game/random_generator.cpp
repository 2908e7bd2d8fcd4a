#include "game/random_generator.h"

namespace orvo::game {

RandomGenerator RandomGenerator::FromSeed(std::int64_t seed) {
  if (seed >= 0 && seed <= 0xFFFFFFFFll) return RandomGenerator(static_cast<std::uint32_t>(seed));
  const auto bits = static_cast<std::uint64_t>(seed);
  std::seed_seq sequence{static_cast<std::uint32_t>(bits), static_cast<std::uint32_t>(bits >> 32)};
  return RandomGenerator(sequence);
}

}  // namespace orvo::game
