#include "tools/replay/random_source.h"

#include "tools/replay/replay_error.h"

namespace orvo::replay {

void RandomSource::Seed(std::int64_t seed) {
  generator_ = game::RandomGenerator::FromSeed(seed);
}

float RandomSource::Next() {
  float x = 0.0f;
  if (!queue_.empty()) {
    x = queue_.front();
    queue_.pop_front();
  } else if (generator_) {
    x = generator_->Next();
  } else {
    throw ReplayError("random numbers used up");
  }
  ++used_;
  return x;
}

}  // namespace orvo::replay
