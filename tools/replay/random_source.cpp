#include "tools/replay/random_source.h"

#include "tools/replay/replay_error.h"

namespace orvo::replay {

void RandomSource::Seed(std::uint32_t seed) {
  generator_.emplace(seed);
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
