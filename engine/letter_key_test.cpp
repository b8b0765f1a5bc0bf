#include "engine/letter_key.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace vocor {
namespace {

TEST(LetterKeyLayoutTest, FieldsMustFitInSixtyFourBits) {
  LetterKeyLayout layout;
  // A count of 1 takes two bits with its guard: 32 of them fill the key.
  EXPECT_TRUE(layout.Init(std::vector<int>(32, 1)));
  EXPECT_FALSE(layout.Init(std::vector<int>(33, 1)));
  // The largest count a text can give still packs, twice.
  EXPECT_TRUE(layout.Init({0x7ffffffe, 0x7ffffffe}));
  EXPECT_FALSE(layout.Init({0x7ffffffe, 0x7ffffffe, 1}));
  EXPECT_FALSE(layout.Init({-1}));
}

TEST(LetterKeyLayoutTest, CountsBeyondTheLimitNeverFit) {
  LetterKeyLayout layout;
  ASSERT_TRUE(layout.Init({2, 0, 5}));
  uint64_t key = layout.Add(0, 0, 2);
  EXPECT_EQ(layout.Add(key, 0, 1), LetterKeyLayout::kNever);
  EXPECT_EQ(layout.Add(0, 1, 1), LetterKeyLayout::kNever);
  EXPECT_EQ(layout.Add(LetterKeyLayout::kNever, 2, 1), LetterKeyLayout::kNever);
  key = layout.Add(layout.Add(key, 2, 3), 2, 2);
  EXPECT_EQ(key, layout.full());
}

// Fitting and subtracting keys against counting letter by letter, on
// random limits whose fields sit right against each other.
TEST(LetterKeyLayoutTest, FitsAndSubtractsLikeCounts) {
  std::mt19937 rng(2024);
  for (int round = 0; round < 2000; ++round) {
    std::vector<int> limits(1 + rng() % 10);
    for (int& limit : limits) limit = static_cast<int>(rng() % 32);
    LetterKeyLayout layout;
    ASSERT_TRUE(layout.Init(limits));
    std::vector<int> left(limits.size()), word(limits.size());
    uint64_t left_key = 0, word_key = 0;
    bool fits = true;
    for (size_t s = 0; s < limits.size(); ++s) {
      left[s] = static_cast<int>(rng() % (limits[s] + 1));
      word[s] = static_cast<int>(rng() % (limits[s] + 1));
      left_key = layout.Add(left_key, static_cast<int>(s), left[s]);
      word_key = layout.Add(word_key, static_cast<int>(s), word[s]);
      fits = fits && word[s] <= left[s];
    }
    ASSERT_EQ(layout.Fits(word_key, left_key), fits);
    if (!fits) continue;
    uint64_t rest_key = 0;
    for (size_t s = 0; s < limits.size(); ++s) {
      rest_key = layout.Add(rest_key, static_cast<int>(s), left[s] - word[s]);
    }
    ASSERT_EQ(left_key - word_key, rest_key);
  }
}

TEST(LetterKeyIndexTest, ChainsEachKeysWordsInOrderAcrossGrowth) {
  LetterKeyIndex index;
  EXPECT_EQ(index.Find(7).first, -1);
  // Enough keys to grow the table several times; key k holds words
  // k, k + 1000, k + 2000.
  for (int word = 0; word < 3000; ++word) {
    if (word % 7 == 3) continue;  // words without a key leave gaps
    index.Add(static_cast<uint64_t>(word % 1000) << 20, word);
  }
  for (uint64_t k = 0; k < 1000; ++k) {
    std::vector<int> words;
    const LetterKeyIndex::Range range = index.Find(k << 20);
    for (int w = range.first; w >= 0; w = index.NextOf(w)) words.push_back(w);
    std::vector<int> expected;
    for (int w = static_cast<int>(k); w < 3000; w += 1000) {
      if (w % 7 != 3) expected.push_back(w);
    }
    ASSERT_EQ(words, expected) << k;
    ASSERT_EQ(range.last, expected.back());
  }
  EXPECT_EQ(index.Find(uint64_t{1000} << 20).first, -1);
  EXPECT_EQ(index.Find(1).last, -1);
}

}  // namespace
}  // namespace vocor
