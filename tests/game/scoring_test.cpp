// Points, level thresholds, bomb awards and the status texts.
#include <limits>

#include <gtest/gtest.h>

#include "tests/game/game_rig.h"

namespace orvo_test {
namespace {

using orvo::game::BombsText;
using orvo::game::PointsText;

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

class ScoringTest : public ::testing::Test {
 protected:
  ScoringTest() {
    services.state = &game.State();
    game.NewGame();
    services.log.clear();
  }
  orvo::game::GameState& S() { return game.State(); }
  std::string Caption(Control c) { return services.captions[c]; }

  FakeServices services;
  orvo::game::Labels labels{services};
  orvo::game::Game game{services, labels};
};

TEST_F(ScoringTest, LevelThresholds) {
  const double plain[] = {30, 120, 270, 480, 750};
  const double afterChainOf3[] = {7, 48, 135, 274, 468};
  for (int level = 1; level <= 5; ++level) {
    S().MaxReactions = 0;
    EXPECT_EQ(game.LevelThreshold(level), plain[level - 1]) << "level " << level;
    S().MaxReactions = 3;
    EXPECT_EQ(game.LevelThreshold(level), afterChainOf3[level - 1]) << "level " << level;
  }
}

TEST(StatusTextTest, PointsShowThousandsAboveOneHundredThousand) {
  EXPECT_EQ(PointsText(0), "0");
  EXPECT_EQ(PointsText(999), "999");
  EXPECT_EQ(PointsText(100000), "100000");
  EXPECT_EQ(PointsText(100001), "100 K");
  EXPECT_EQ(PointsText(100999), "100 K");
  EXPECT_EQ(PointsText(101000), "101 K");
  EXPECT_EQ(PointsText(123456), "123 K");
  EXPECT_EQ(PointsText(kMax), "2147483 K");
}

TEST(StatusTextTest, OneCurrencySignAndSpacePerBomb) {
  EXPECT_EQ(BombsText(0), "");
  EXPECT_EQ(BombsText(-2), "");
  EXPECT_EQ(BombsText(1), "\xC2\xA4\x20");
  EXPECT_EQ(BombsText(2), "\xC2\xA4\x20\xC2\xA4\x20");
  const std::string five = BombsText(5);
  EXPECT_EQ(five.size(), 15u) << "five two-character units, three bytes each in UTF-8";
  EXPECT_EQ(five.back(), ' ');
}

TEST_F(ScoringTest, FreshGameTexts) {
  game.AddPoints(0);
  const std::vector<std::string> want = {"caption lblPoints=0", "caption lblReactions=0/0",
                                         "caption lblNextLevelPoints=30"};
  EXPECT_EQ(services.log, want);
  EXPECT_EQ(S().Level, 1);
  EXPECT_EQ(S().Points, 0);
  EXPECT_EQ(S().Bombs, 0);
  EXPECT_EQ(S().NextBombPoints, 1000);
}

TEST_F(ScoringTest, JumpRaisesSeveralLevelsInOneCall) {
  game.AddPoints(500);
  EXPECT_EQ(S().Level, 5);
  const std::vector<std::string> want = {"caption lblLevel=2", "caption lblLevel=3",
                                         "caption lblLevel=4", "caption lblLevel=5"};
  EXPECT_EQ(services.Only("caption lblLevel="), want);
  EXPECT_EQ(Caption(Control::lblNextLevelPoints), "250");
  EXPECT_EQ(Caption(Control::lblPoints), "500");
}

TEST_F(ScoringTest, PointsEqualToThresholdDoNotRaise) {
  game.AddPoints(30);
  EXPECT_EQ(S().Level, 1);
  EXPECT_EQ(Caption(Control::lblNextLevelPoints), "0");
  EXPECT_TRUE(services.Only("caption lblLevel=").empty());
  game.AddPoints(1);
  EXPECT_EQ(S().Level, 2);
  EXPECT_EQ(Caption(Control::lblNextLevelPoints), "89");
}

// Level 2, best chain 3, 100 points; 30 more reach level 3 and leave 5 to go.
TEST_F(ScoringTest, LongChainLowersThresholds) {
  S().Level = 2;
  S().MaxReactions = 3;
  S().Points = 100;
  game.AddPoints(30);
  EXPECT_EQ(S().Points, 130);
  EXPECT_EQ(S().Level, 3);
  EXPECT_EQ(Caption(Control::lblLevel), "3");
  EXPECT_EQ(Caption(Control::lblNextLevelPoints), "5");
}

// The label order: points, chain, each level rise, next level, bombs.
// With a best chain of 2: T(6) = Int(1080 / (2/6 + 1)) = 810 < 1001 and
// T(7) = Int(1470 / (2/7 + 1)) = 1143, so the level ends at 7.
TEST_F(ScoringTest, LabelOrder) {
  S().Reactions = 2;
  game.AddPoints(1001);
  const std::vector<std::string> want = {
      "caption lblPoints=1001",     "caption lblReactions=2/2", "caption lblLevel=2",
      "caption lblLevel=3",         "caption lblLevel=4",       "caption lblLevel=5",
      "caption lblLevel=6",         "caption lblLevel=7",       "caption lblNextLevelPoints=142",
      "caption lblBombs=\xC2\xA4 ",
  };
  EXPECT_EQ(services.log, want);
  EXPECT_EQ(S().Level, 7);
}

TEST_F(ScoringTest, UpdateReactionsKeepsTheBest) {
  S().MaxReactions = 5;
  S().Reactions = 2;
  game.UpdateReactions();
  EXPECT_EQ(S().MaxReactions, 5);
  EXPECT_EQ(Caption(Control::lblReactions), "2/5");
  S().Reactions = 7;
  game.UpdateReactions();
  EXPECT_EQ(S().MaxReactions, 7);
  EXPECT_EQ(Caption(Control::lblReactions), "7/7");
}

TEST_F(ScoringTest, BombAwardsAboveRisingThresholds) {
  game.AddPoints(1000);
  EXPECT_EQ(S().Bombs, 0) << "1000 points do not exceed 1000";
  EXPECT_EQ(S().NextBombPoints, 1000);
  game.AddPoints(1);
  EXPECT_EQ(S().Bombs, 1);
  EXPECT_EQ(S().NextBombPoints, 3000);
  EXPECT_EQ(Caption(Control::lblBombs), BombsText(1));
}

TEST_F(ScoringTest, JumpPastSeveralBombThresholds) {
  game.AddPoints(10000);
  EXPECT_EQ(S().Bombs, 3);
  EXPECT_EQ(S().NextBombPoints, 27000);
  const std::vector<std::string> want = {"caption lblBombs=" + BombsText(1),
                                         "caption lblBombs=" + BombsText(2),
                                         "caption lblBombs=" + BombsText(3)};
  EXPECT_EQ(services.Only("caption lblBombs="), want);
}

// With five bombs in hand the award waits: the threshold is kept, and the
// bomb comes with a later AddPoints once one has been used.
TEST_F(ScoringTest, FiveBombsHeldAwardWaits) {
  S().Bombs = 5;
  game.AddPoints(1001);
  EXPECT_EQ(S().Bombs, 5);
  EXPECT_EQ(S().NextBombPoints, 1000);
  EXPECT_TRUE(services.Only("caption lblBombs=").empty());

  game.AddBombs(-1);  // as UseBomb does
  EXPECT_EQ(S().Bombs, 4);
  game.AddPoints(0);
  EXPECT_EQ(S().Bombs, 5);
  EXPECT_EQ(S().NextBombPoints, 3000);
  EXPECT_EQ(Caption(Control::lblBombs), BombsText(5));
}

TEST_F(ScoringTest, AwardsStopAtFiveBombs) {
  game.AddPoints(1000000);
  EXPECT_EQ(S().Bombs, 5);
  EXPECT_EQ(S().NextBombPoints, 243000);
}

TEST_F(ScoringTest, AddBombsTexts) {
  S().Bombs = 1;
  game.AddBombs(-1);
  EXPECT_EQ(Caption(Control::lblBombs), "");
  S().Bombs = 4;
  game.AddBombs(1);
  EXPECT_EQ(Caption(Control::lblBombs), BombsText(5));
}

// Points cannot wrap around: amounts beyond the 32-bit range saturate.
TEST_F(ScoringTest, PointsSaturateAtTheTop) {
  S().Points = kMax - 1000;
  game.AddPoints(2000000000);
  EXPECT_EQ(S().Points, kMax);
  game.AddPoints(kMax);
  EXPECT_EQ(S().Points, kMax);
  EXPECT_EQ(Caption(Control::lblPoints), "2147483 K");
  // The level has caught up with the points, and the next-level text is a
  // plain non-negative number.
  EXPECT_GE(game.LevelThreshold(S().Level), static_cast<double>(kMax));
  EXPECT_LT(game.LevelThreshold(S().Level - 1), static_cast<double>(kMax));
  const std::string next = Caption(Control::lblNextLevelPoints);
  ASSERT_FALSE(next.empty());
  EXPECT_EQ(next.find_first_not_of("0123456789"), std::string::npos) << next;
}

// After 13 triplings the bomb threshold would leave the 32-bit range.
TEST_F(ScoringTest, BombThresholdSaturates) {
  S().NextBombPoints = 1594323000;
  game.AddPoints(kMax);
  EXPECT_EQ(S().Bombs, 1);
  EXPECT_EQ(S().NextBombPoints, kMax);
  game.AddPoints(5);
  EXPECT_EQ(S().Bombs, 1) << "no points exceed the top of the range";
}

}  // namespace
}  // namespace orvo_test
