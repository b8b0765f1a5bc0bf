#include "app/search/results_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/score.h"

namespace vocor {
namespace {

std::vector<std::string> Sorted(const ResultsList& list) {
  std::vector<std::string> words;
  for (int i = 0; i < list.sorted_count(); ++i) words.push_back(list.at(i));
  return words;
}

TEST(ResultsListTest, PendingWordsJoinTheSortedListOnFlush) {
  ResultsList list;
  EXPECT_TRUE(list.Add("pear"));
  EXPECT_TRUE(list.Add("apple"));
  EXPECT_EQ(list.size(), 2);
  EXPECT_EQ(list.sorted_count(), 0);
  EXPECT_EQ(list.Flush(), 2);
  EXPECT_TRUE(list.Add("fig"));
  EXPECT_TRUE(list.Add("banana"));
  EXPECT_EQ(list.Flush(), 2);
  EXPECT_EQ(list.Flush(), 0);
  EXPECT_EQ(Sorted(list),
            (std::vector<std::string>{"apple", "banana", "fig", "pear"}));
}

TEST(ResultsListTest, OrderIgnoresCaseAndBreaksTiesByTheWord) {
  ResultsList list;
  list.Add("Zebra");
  list.Add("apple");
  list.Add("Apple's");
  list.Add("mango");
  list.Flush();
  EXPECT_EQ(Sorted(list),
            (std::vector<std::string>{"apple", "Apple's", "mango", "Zebra"}));
}

TEST(ResultsListTest, DuplicatesIgnoringCaseAreDroppedSortedOrPending) {
  ResultsList list;
  EXPECT_TRUE(list.Add("Paris"));
  EXPECT_FALSE(list.Add("paris"));
  list.Flush();
  EXPECT_FALSE(list.Add("PARIS"));
  // Windows-1252 capital E acute against its small letter.
  EXPECT_TRUE(list.Add("\xC9t\xE9"));
  EXPECT_FALSE(list.Add("\xE9t\xE9"));
  EXPECT_EQ(list.size(), 2);
}

TEST(ResultsListTest, WordsAreShownAsUtf8AndAccentsSortAfterAscii) {
  ResultsList list;
  list.Add("\xE9t\xE9");  // été
  list.Add("zoo");
  list.Flush();
  EXPECT_EQ(Sorted(list),
            (std::vector<std::string>{"zoo", "\xC3\xA9t\xC3\xA9"}));
}

TEST(ResultsListTest, ClearForgetsWordsAndTheirKeys) {
  ResultsList list;
  list.Add("one");
  list.Flush();
  list.Add("two");
  list.Clear();
  EXPECT_EQ(list.size(), 0);
  EXPECT_EQ(list.sorted_count(), 0);
  EXPECT_TRUE(list.Add("one"));
}

TEST(ResultsListTest, ManyWordsInBatchesStaySortedAndUnique) {
  ResultsList list;
  // 12000 distinct words arriving out of order, each offered twice.
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 12000; ++i) {
      const int n = (i * 7919) % 12000;
      list.Add(("w" + std::to_string(n)).c_str());
      if (i % 20 == 0) list.Flush();
    }
  }
  list.Flush();
  ASSERT_EQ(list.sorted_count(), 12000);
  for (int i = 1; i < list.sorted_count(); ++i) {
    ASSERT_LT(list.at(i - 1), list.at(i));
  }
}

// Words and phrases with random scores arrive in batches, some twice with
// another score; in either order the shown list is the reference sort of
// each word with its highest score, and switching the order sorts the
// same words again.
TEST(ResultsListTest, ScoreOrderMatchesTheReferenceOverRandomBatches) {
  std::mt19937 random(12345);
  std::map<std::string, int> best;  // the reference
  ResultsList list;
  list.SetOrder(ResultOrder::kByScore);
  for (int i = 0; i < 3000; ++i) {
    std::string word(1 + random() % 4, 'a');
    for (char& c : word) c = static_cast<char>('a' + random() % 6);
    if (random() % 5 == 0) word += " ab";  // a two-word phrase
    const int score = kMinScore + static_cast<int>(random() % kMaxScore);
    const auto [it, added] = best.emplace(word, score);
    it->second = std::max(it->second, score);
    EXPECT_EQ(list.Add(word.c_str(), score), added);
    if (random() % 50 == 0) list.Flush();
  }
  list.Flush();
  EXPECT_FALSE(list.HasPending());
  std::vector<std::pair<std::string, int>> expected(best.begin(), best.end());
  std::sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) {
    return ComesFirstByScore(a.first, a.second, b.first, b.second);
  });
  const auto shown = [&list] {
    std::vector<std::pair<std::string, int>> words;
    for (int i = 0; i < list.sorted_count(); ++i) {
      words.emplace_back(list.at(i), list.score_at(i));
    }
    return words;
  };
  ASSERT_EQ(shown(), expected);

  list.SetOrder(ResultOrder::kAlphabetical);
  ASSERT_EQ(shown(), (std::vector<std::pair<std::string, int>>(best.begin(),
                                                               best.end())));
  list.SetOrder(ResultOrder::kByScore);
  ASSERT_EQ(shown(), expected);
}

// A word shown already that comes again with a higher score (another
// member of a set) moves to its place at the next Flush; a lower score
// changes nothing.
TEST(ResultsListTest, AHigherScoreOfAShownWordMovesIt) {
  ResultsList list;
  list.SetOrder(ResultOrder::kByScore);
  list.Add("cat", 20);
  list.Add("dog", 60);
  list.Flush();
  EXPECT_FALSE(list.Add("CAT", 10));
  EXPECT_FALSE(list.HasPending());
  EXPECT_FALSE(list.Add("Cat", 90));
  EXPECT_TRUE(list.HasPending());
  EXPECT_EQ(list.Flush(), 0);
  ASSERT_EQ(Sorted(list), (std::vector<std::string>{"cat", "dog"}));
  EXPECT_EQ(list.score_at(0), 90);
  // Clear forgets the words, not the order.
  list.Clear();
  list.Add("ant", 5);
  list.Add("bee", 70);
  list.Flush();
  EXPECT_EQ(Sorted(list), (std::vector<std::string>{"bee", "ant"}));
}

TEST(ResultsSinkListCtrlTest, CountsPendingWordsAndAcceptsDuplicates) {
  ResultsList list;
  CResultsSinkListCtrl sink(&list);
  EXPECT_TRUE(sink.AddResult("cat", kDefaultScore));
  EXPECT_TRUE(sink.AddResult("CAT", kDefaultScore));
  EXPECT_TRUE(sink.AddResult("cot", kDefaultScore));
  EXPECT_EQ(sink.GetResultCount(), 2);
  list.Flush();
  EXPECT_EQ(sink.GetResultCount(), 2);
}

}  // namespace
}  // namespace vocor
