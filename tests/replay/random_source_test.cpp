// The replay's random source: the queued numbers first, then the seeded
// generator, and a failure when neither has a number.
#include "tools/replay/random_source.h"

#include <gtest/gtest.h>

#include <vector>

#include "tools/replay/replay_error.h"

namespace orvo::replay {
namespace {

std::vector<float> Take(RandomSource& source, int n) {
  std::vector<float> xs;
  for (int i = 0; i < n; ++i) xs.push_back(source.Next());
  return xs;
}

TEST(RandomSource, QueueComesFirstInOrderThenTheGenerator) {
  RandomSource source;
  source.Append(0.25f);
  source.Seed(7);
  source.Append(0.75f);  // appended after the seed: still before the generator
  EXPECT_EQ(source.Next(), 0.25f);
  EXPECT_EQ(source.Next(), 0.75f);
  std::vector<float> drawn = Take(source, 1000);
  EXPECT_EQ(source.Used(), 1002u);

  // The same seed gives the same sequence; another seed another one.
  RandomSource again;
  again.Seed(7);
  EXPECT_EQ(Take(again, 1000), drawn);
  RandomSource other;
  other.Seed(8);
  EXPECT_NE(Take(other, 1000), drawn);
}

TEST(RandomSource, SeedsBeyondThirtyTwoBitsAreTheirOwn) {
  // Negative and 64-bit seeds repeat themselves and do not fold onto a
  // 32-bit seed with the same low bits.
  const auto first = [](std::int64_t seed) {
    RandomSource source;
    source.Seed(seed);
    return Take(source, 100);
  };
  EXPECT_EQ(first(-7), first(-7));
  EXPECT_EQ(first(4294967296ll), first(4294967296ll));
  EXPECT_NE(first(4294967296ll), first(0));
  EXPECT_NE(first(-1), first(4294967295ll));
}

TEST(RandomSource, GeneratorIsUniformInTheUnitInterval) {
  RandomSource source;
  source.Seed(12345);
  constexpr int kCount = 100000;
  int buckets[10] = {};
  for (int i = 0; i < kCount; ++i) {
    float x = source.Next();
    ASSERT_GE(x, 0.0f);
    ASSERT_LT(x, 1.0f);
    ++buckets[static_cast<int>(x * 10)];
  }
  // Each tenth holds 10000 expected; 5 standard deviations is about 475.
  for (int b : buckets) EXPECT_NEAR(b, kCount / 10, 500);
}

TEST(RandomSource, ReseedingRestartsTheGenerator) {
  RandomSource source;
  source.Seed(3);
  std::vector<float> first = Take(source, 5);
  source.Seed(3);
  EXPECT_EQ(Take(source, 5), first);
}

TEST(RandomSource, EmptyQueueWithoutSeedIsUsedUp) {
  RandomSource source;
  source.Append(0.5f);
  EXPECT_EQ(source.Next(), 0.5f);
  try {
    source.Next();
    ADD_FAILURE() << "no error";
  } catch (const ReplayError& e) {
    EXPECT_STREQ(e.what(), "random numbers used up");
    EXPECT_EQ(e.Line(), ReplayError::kCurrentLine);
  }
  // A failed draw is not counted.
  EXPECT_EQ(source.Used(), 1u);
}

}  // namespace
}  // namespace orvo::replay
