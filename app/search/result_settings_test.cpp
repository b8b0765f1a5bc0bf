// The stored texts of the results order and minimum score, and the
// decisions the results list takes by score.
#include "app/search/result_settings.h"

#include <gtest/gtest.h>

#include "settings/settings_store.h"

namespace vocor {
namespace {

constexpr char kKey[] =
    "Software\\Vocor\\Vocor for Windows\\ResultSettingsTest";

TEST(ResultSettingsTest, MinimumScoreTextAcceptsOnlyScores) {
  for (int score : {kMinScore, 29, 30, kMaxScore}) {
    int read = 0;
    ASSERT_TRUE(ParseMinimumScore(FormatMinimumScore(score), &read)) << score;
    EXPECT_EQ(read, score);
  }
  int read = 7;
  for (const char* bad : {"", "0", "101", "-5", "+5", " 5", "5 ", "4x", "x",
                          "0000000000042", "99999999999"}) {
    EXPECT_FALSE(ParseMinimumScore(bad, &read)) << bad;
  }
  EXPECT_EQ(read, 7);
  EXPECT_TRUE(ParseMinimumScore("042", &read));
  EXPECT_EQ(read, 42);
}

// Nothing stored, both stored, and each value damaged on its own: a
// value that is not understood falls back to its default alone.
TEST(ResultSettingsTest, StoredSettingsRoundTripAndDamageGivesDefaults) {
  DeleteRegTree(kCurrentUser, kKey);
  ResultSettings loaded = LoadResultSettings(kKey);
  EXPECT_EQ(loaded.order, ResultOrder::kAlphabetical);
  EXPECT_EQ(loaded.min_score, kMinScore);

  ASSERT_TRUE(SaveResultSettings(kKey, {ResultOrder::kByScore, 42}));
  std::string text;
  ASSERT_TRUE(ReadRegString(kCurrentUser, kKey, kResultOrderValue, &text));
  EXPECT_EQ(text, "score");
  ASSERT_TRUE(ReadRegString(kCurrentUser, kKey, kMinimumScoreValue, &text));
  EXPECT_EQ(text, "42");
  loaded = LoadResultSettings(kKey);
  EXPECT_EQ(loaded.order, ResultOrder::kByScore);
  EXPECT_EQ(loaded.min_score, 42);

  ASSERT_TRUE(WriteRegString(kCurrentUser, kKey, kMinimumScoreValue, "500"));
  loaded = LoadResultSettings(kKey);
  EXPECT_EQ(loaded.order, ResultOrder::kByScore);
  EXPECT_EQ(loaded.min_score, kMinScore);

  ASSERT_TRUE(WriteRegString(kCurrentUser, kKey, kMinimumScoreValue, "30"));
  ASSERT_TRUE(WriteRegString(kCurrentUser, kKey, kResultOrderValue, "Score"));
  loaded = LoadResultSettings(kKey);
  EXPECT_EQ(loaded.order, ResultOrder::kAlphabetical);
  EXPECT_EQ(loaded.min_score, 30);
  DeleteRegTree(kCurrentUser, kKey);
}

TEST(ResultSettingsTest, WeakWordsAreThoseUnderThirty) {
  EXPECT_TRUE(IsWeakScore(kMinScore));
  EXPECT_TRUE(IsWeakScore(29));
  EXPECT_FALSE(IsWeakScore(30));
  EXPECT_FALSE(IsWeakScore(kDefaultScore));
  EXPECT_EQ(ScoreToolTip(42), "Score: 42");
  EXPECT_EQ(ScoreToolTip(kMaxScore), "Score: 100");
}

}  // namespace
}  // namespace vocor
