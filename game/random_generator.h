// The random numbers of every platform: a Mersenne twister whose 24 high
// bits make a float in [0, 1). A platform chooses only the seed.
#pragma once

#include <cstdint>
#include <random>

namespace orvo::game {

class RandomGenerator {
 public:
  explicit RandomGenerator(std::uint32_t seed = std::mt19937::default_seed) : engine_(seed) {}
  // A 64-bit seed: seeds of 32 bits directly, any other through both halves.
  static RandomGenerator FromSeed(std::int64_t seed);

  void Seed(std::uint32_t seed) { engine_.seed(seed); }
  // 24 random bits make every float of the form k / 2^24 equally likely:
  // uniform in [0, 1), exact in single precision, the same on every machine.
  float Next() { return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f); }

 private:
  explicit RandomGenerator(std::seed_seq& sequence) : engine_(sequence) {}

  std::mt19937 engine_;
};

}  // namespace orvo::game
