#include "app/search/results_list.h"

#include <gtest/gtest.h>

#include <string>
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
