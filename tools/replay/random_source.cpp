#include "tools/replay/random_source.h"

#include "tools/replay/replay_error.h"

namespace orvo::replay {

void RandomSource::Seed(std::int64_t seed) {
  // Seeds of 32 bits seed the generator directly; any other whole number
  // seeds it through both of its halves.
  if (seed >= 0 && seed <= 0xFFFFFFFFll) {
    generator_.emplace(static_cast<std::uint32_t>(seed));
    return;
  }
  const auto bits = static_cast<std::uint64_t>(seed);
  std::seed_seq sequence{static_cast<std::uint32_t>(bits), static_cast<std::uint32_t>(bits >> 32)};
  generator_.emplace(sequence);
}

float RandomSource::Next() {
  float x = 0.0f;
  if (!queue_.empty()) {
    x = queue_.front();
    queue_.pop_front();
  } else if (generator_) {
    // 24 random bits make every float of the form k / 2^24 equally likely:
    // uniform in [0, 1), exact in single precision, the same on every machine.
    x = static_cast<float>((*generator_)() >> 8) * (1.0f / 16777216.0f);
  } else {
    throw ReplayError("random numbers used up");
  }
  ++used_;
  return x;
}

}  // namespace orvo::replay
