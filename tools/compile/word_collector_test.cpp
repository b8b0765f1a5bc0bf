// Counting of duplicates and skipped words is tested through the program
// (vocor_mkdic_test.cpp); these are the cases it does not reach.
#include "tools/compile/word_collector.h"

#include <gtest/gtest.h>

namespace vocor {
namespace {

using Words = std::vector<std::string>;

TEST(WordCollectorTest, KeepsFirstAppearancesAcrossListsAndEncodings) {
  WordCollector collector(true);
  collector.AddList("Zoo caf\xc3\xa9 it's\r\n");        // UTF-8
  collector.AddList("CAFE well-known 42 zoo caf\xe9");  // Windows-1252
  // The micro sign is a letter of the code page, the euro sign is not and
  // separates words; a letter outside the code page drops its word before
  // folding could see it.
  collector.AddList(
      "\xc2\xb5m 5\xe2\x82\xac"
      "ab \xc5\x82\xc3\xb3"
      "dz");
  EXPECT_EQ(collector.words(),
            (Words{"zoo", "cafe", "it's", "well-known", "um", "ab"}));
  EXPECT_EQ(collector.duplicates(), 3);
}

TEST(WordCollectorTest, DecomposedLettersAreComposedBeforeFolding) {
  // cafe + U+0301 and nai + U+0308 + ve: the marks once made both words
  // vanish.
  WordCollector decomposed(true);
  decomposed.AddList("cafe\u0301 nai\u0308ve\n");
  WordCollector composed(true);
  composed.AddList("caf\u00e9 na\u00efve\n");
  EXPECT_EQ(decomposed.words(), (Words{"cafe", "naive"}));
  EXPECT_EQ(decomposed.words(), composed.words());
  EXPECT_EQ(decomposed.skipped(), 0);
}

TEST(WordCollectorTest, FoldedWordsMustStillFitTheWordBuffer) {
  // 998 letters and one sharp s: 999 letters as read, 1000 once folded.
  const std::string word = std::string(998, 'a') + "\xc3\x9f";
  WordCollector collector(true);
  collector.AddList(word + " " + std::string(997, 'b') + "\xc3\x9f");
  ASSERT_EQ(collector.words().size(), 1u);
  EXPECT_EQ(collector.words()[0].size(), 999u);
  EXPECT_EQ(collector.skipped(), 1);
}

}  // namespace
}  // namespace vocor
