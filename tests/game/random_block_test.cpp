// RandomBlock: the weighted levels, their edges and the single re-draw.
#include <cmath>

#include <gtest/gtest.h>

#include "tests/game/game_rig.h"

namespace orvo_test {
namespace {

class RandomBlockTest : public ::testing::Test {
 protected:
  FakeServices services;
  orvo::game::Labels labels{services};
  orvo::game::Game game{services, labels};

  std::int32_t Draw(std::initializer_list<float> xs, std::int32_t exclude) {
    services.randoms.assign(xs.begin(), xs.end());
    services.randomsTaken = 0;
    return game.RandomBlock(exclude);
  }
};

// r = x * 1000 rounded; the edges are 400, 700 and 900.
TEST_F(RandomBlockTest, ValueByRoundedThousandths) {
  struct Case {
    float x;
    std::int32_t want;
  };
  const Case cases[] = {
      {0.0f, 1},        {0.399f, 1}, {0.400f, 2}, {0.699f, 2},  {0.700f, 3},
      {0.899f, 3},      {0.900f, 4}, {0.999f, 4}, {0.9999f, 4},  // r = 1000
      {0.99999994f, 4},                                          // the largest float below 1
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Draw({c.x}, 0), c.want) << "x = " << c.x;
  }
}

// The number is rounded, not truncated: just above x * 1000 = 399.5 is
// already level 2, just below it still level 1.
TEST_F(RandomBlockTest, EdgesLieHalfwayBetweenThousandths) {
  struct Edge {
    double at;  // x * 1000 where the value changes
    std::int32_t below;
    std::int32_t above;
  };
  for (const Edge& e : {Edge{399.5, 1, 2}, Edge{699.5, 2, 3}, Edge{899.5, 3, 4}}) {
    const float x = static_cast<float>(e.at / 1000.0);
    const float lo = x * 1000.0 < e.at ? x : std::nextafter(x, 0.0f);
    const float hi = x * 1000.0 > e.at ? x : std::nextafter(x, 1.0f);
    EXPECT_EQ(Draw({std::nextafter(lo, 0.0f)}, 0), e.below) << e.at;
    EXPECT_EQ(Draw({hi}, 0), e.above) << e.at;
    EXPECT_EQ(Draw({static_cast<float>((e.at - 0.4) / 1000.0)}, 0), e.below) << e.at;
    EXPECT_EQ(Draw({static_cast<float>((e.at + 0.1) / 1000.0)}, 0), e.above) << e.at;
  }
}

TEST_F(RandomBlockTest, NoExclusionTakesOneNumber) {
  for (std::int32_t exclude : {0, -1, 5, 6, 1000, std::numeric_limits<std::int32_t>::min()}) {
    for (float x : {0.1f, 0.5f, 0.8f, 0.95f}) {
      const std::int32_t v = Draw({x, 0.95f}, exclude);
      EXPECT_GE(v, 1);
      EXPECT_LE(v, 4);
      EXPECT_EQ(services.randomsTaken, 1) << "exclude " << exclude << ", x " << x;
    }
  }
}

TEST_F(RandomBlockTest, DifferentFirstDrawIsKept) {
  EXPECT_EQ(Draw({0.5f, 0.95f}, 1), 2);
  EXPECT_EQ(services.randomsTaken, 1);
  EXPECT_EQ(Draw({0.1f, 0.95f}, 4), 1);
  EXPECT_EQ(services.randomsTaken, 1);
}

TEST_F(RandomBlockTest, EqualFirstDrawIsReplacedByOneRedraw) {
  EXPECT_EQ(Draw({0.5f, 0.95f, 0.1f}, 2), 4);
  EXPECT_EQ(services.randomsTaken, 2);
  EXPECT_EQ(Draw({0.75f, 0.1f, 0.5f}, 3), 1);
  EXPECT_EQ(services.randomsTaken, 2);
}

TEST_F(RandomBlockTest, RedrawIsReturnedEvenIfEqualAgain) {
  EXPECT_EQ(Draw({0.1f, 0.2f, 0.5f}, 1), 1);
  EXPECT_EQ(services.randomsTaken, 2) << "one re-draw at most, not a loop";
  EXPECT_EQ(Draw({0.95f, 0.97f, 0.1f}, 4), 4);
  EXPECT_EQ(services.randomsTaken, 2);
}

// SpawnPair steers the right block away from the value stored on the left.
TEST_F(RandomBlockTest, SpawnExcludesTheLeftBlock) {
  services.randoms = {0.5f, 0.6f, 0.95f};  // left 2; right 2 = left, so re-drawn: 4
  game.SpawnPair();
  EXPECT_EQ(game.Cells()(9, 2), 2);
  EXPECT_EQ(game.Cells()(10, 2), 4);
  EXPECT_EQ(services.randomsTaken, 3);
  EXPECT_EQ(services.Count("reseed"), 0) << "only NewGame reseeds the source";
}

}  // namespace
}  // namespace orvo_test
