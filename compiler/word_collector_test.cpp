// Counting of duplicates and skipped words is tested through the program
// (vocor_mkdic_test.cpp); these are the cases it does not reach.
#include "compiler/word_collector.h"

#include <gtest/gtest.h>

#include "dictionary/testing/mixed_lists.h"

namespace vocor {
namespace {

using Words = std::vector<std::string>;

WordChoice Folding() {
  WordChoice choice;
  choice.fold_accents = true;
  return choice;
}

WordChoice Filtering() {
  WordChoice choice;
  choice.keep_code_page = true;
  choice.skip_possessives = true;
  choice.skip_abbreviations = true;
  return choice;
}

TEST(WordCollectorTest, KeepsFirstAppearancesAcrossListsAndEncodings) {
  WordCollector collector(Folding());
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
  WordCollector decomposed(Folding());
  decomposed.AddList("cafe\u0301 nai\u0308ve\n");
  WordCollector composed(Folding());
  composed.AddList("caf\u00e9 na\u00efve\n");
  EXPECT_EQ(decomposed.words(), (Words{"cafe", "naive"}));
  EXPECT_EQ(decomposed.words(), composed.words());
  EXPECT_EQ(decomposed.skipped().total(), 0);
}

TEST(WordCollectorTest, FoldedWordsMustStillFitTheWordBuffer) {
  // 998 letters and one sharp s: 999 letters as read, 1000 once folded.
  const std::string word = std::string(998, 'a') + "\xc3\x9f";
  WordCollector collector(Folding());
  collector.AddList(word + " " + std::string(997, 'b') + "\xc3\x9f");
  ASSERT_EQ(collector.words().size(), 1u);
  EXPECT_EQ(collector.words()[0].size(), 999u);
  EXPECT_EQ(collector.skipped().too_long, 1);
}

TEST(WordCollectorTest, LeavesOutPossessivesAndAbbreviationsOnly) {
  WordCollector collector(Filtering());
  collector.AddList(
      "cat cat's Paris Paris's NASA NASA's CRT I A Ph-D o'clock "
      "McDonald eBay CD-ROM\n");
  // Capitalised names, single capitals, mixed case and a word merely
  // holding an apostrophe stay.
  EXPECT_EQ(collector.words(), (Words{"cat", "paris", "i", "a", "ph-d",
                                      "o'clock", "mcdonald", "ebay"}));
  EXPECT_EQ(collector.possessives(), 3);
  EXPECT_EQ(collector.abbreviations(), 3);
  EXPECT_EQ(collector.read(), 14);
  EXPECT_EQ(collector.skipped().total() + collector.duplicates(), 0);
}

// Lists in sizes: "nasa" only in the complete list, "NASA" from a smaller
// one on, is the abbreviation written small and goes with it; "us" as
// common as "US" stays, and so does everything of an unscored list.
TEST(WordCollectorTest, AbbreviationsWrittenSmallGoWhereScoredLower) {
  WordChoice choice;
  choice.skip_abbreviations = true;
  WordCollector sized(choice);
  sized.AddList("US\nus\ncat\n", nullptr, 60);
  sized.AddList("US\nus\ncat\nNASA\nCaf\xc3\xa9\n", nullptr, 40);
  sized.AddList("US\nus\ncat\nNASA\nnasa\nzap;90\nZAP\nCAFE\ncafe\n", nullptr,
                20);
  sized.Finish();
  EXPECT_EQ(sized.words(), (std::vector<std::string>{"us", "cat", "caf\xe9",
                                                     "zap", "cafe"}));
  EXPECT_EQ(sized.scores(), (std::vector<uint8_t>{60, 60, 40, 90, 20}));
  EXPECT_EQ(sized.abbreviations(), 8);  // seven written so, "nasa" by Finish

  // Folded, "café" meets the abbreviation "CAFE" in its ASCII spelling.
  choice.fold_accents = true;
  WordCollector folded(choice);
  folded.AddList("CAFE\n", nullptr, 60);
  folded.AddList("caf\xc3\xa9\nnasa\nNASA\n", nullptr, 20);
  folded.Finish();
  EXPECT_EQ(folded.words(), (std::vector<std::string>{"nasa"}));

  WordCollector plain(choice);
  plain.AddList("NASA\nnasa\nUS\nus\n");
  plain.Finish();
  EXPECT_EQ(plain.words(), (std::vector<std::string>{"nasa", "us"}));
  EXPECT_FALSE(plain.has_scores());
}

TEST(WordCollectorTest, AccentedCapitalsAreCapitalsInBothEncodings) {
  // \xc9T\xc9 is ÉTÉ in Windows-1252; the UTF-8 list spells it with
  // two-byte letters, and É alone is a single capital.
  for (const std::string& list :
       {std::string("\xc9T\xc9 \xe9t\xe9 \xc9mile \xc9\n"),
        std::string("\xc3\x89T\xc3\x89 \xc3\xa9t\xc3\xa9 \xc3\x89mile "
                    "\xc3\x89\n")}) {
    WordCollector collector(Filtering());
    collector.AddList(list);
    EXPECT_EQ(collector.words(), (Words{"\xe9t\xe9", "\xe9mile", "\xe9"}));
    EXPECT_EQ(collector.abbreviations(), 1);
  }
}

TEST(WordCollectorTest, AccentsAreKeptUnlessFoldingIsAskedFor) {
  WordCollector text_list(Filtering());
  WordCollector binary(WordChoice{});
  WordCollector folded(Folding());
  const std::string list =
      "\xc3\xa5r s\xc3\xa6l \xc3\xb8l gro\xc3\x9f \xc5\xa0" "ar\n";
  for (WordCollector* collector : {&text_list, &binary, &folded}) {
    collector->AddList(list);
  }
  const Words kept{"\xe5r", "s\xe6l", "\xf8l", "gro\xdf", "\x9a" "ar"};
  EXPECT_EQ(text_list.words(), kept);
  EXPECT_EQ(binary.words(), kept);
  EXPECT_EQ(binary.skipped().total(), 0);
  EXPECT_EQ(folded.words(), (Words{"ar", "sael", "ol", "gross", "sar"}));
}

TEST(WordCollectorTest, EveryEntryLeftOutIsCountedWithItsReason) {
  WordCollector collector(WordChoice{});
  // Cut abbreviations (ch.-l., c.-\xe0-d.), quotes and dashes leave
  // fragments; a five-million-letter line and a Polish word cannot be
  // stored.
  collector.AddList(
      "ch.-l. c.-\xc3\xa0-d. 'quoted' -- dogs' -ness well-known\n" +
      std::string(5000000, 'x') +
      "\n\xc5\x82\xc3\xb3"
      "d\xc5\xba\n");
  EXPECT_EQ(collector.words(), (Words{"ch", "c", "well-known"}));
  EXPECT_EQ(collector.skipped().fragments, 6);
  EXPECT_EQ(collector.skipped().too_long, 1);
  EXPECT_EQ(collector.skipped().foreign_letters, 1);
  EXPECT_EQ(collector.read(), 3 + 6 + 1 + 1);
}

// A list whose lines mix encodings gives the words, counts and verdicts
// of the same list with every line transcoded to UTF-8 by its own
// encoding, and counts the lines read as Windows-1252.
TEST(WordCollectorTest, MixedListsCollectAsTheirPerLineTranscoding) {
  testing::MixedListMaker maker(77);
  WordChoice filters;
  filters.skip_possessives = filters.skip_abbreviations = true;
  for (int round = 0; round < 300; ++round) {
    const std::string text = maker.List(testing::ListKind::kMixed);
    int64_t windows1252 = 0;
    const std::string reference = testing::PerLineUtf8(text, &windows1252);
    for (const WordChoice& choice : {WordChoice{}, Folding(), filters}) {
      WordCollector mixed(choice);
      WordCollector transcoded(choice);
      mixed.AddList(text);
      transcoded.AddList(reference);
      ASSERT_EQ(mixed.words(), transcoded.words()) << text;
      ASSERT_EQ(mixed.read(), transcoded.read()) << text;
      ASSERT_EQ(mixed.skipped().too_long, transcoded.skipped().too_long);
      ASSERT_EQ(mixed.skipped().foreign_letters,
                transcoded.skipped().foreign_letters);
      ASSERT_EQ(mixed.skipped().fragments, transcoded.skipped().fragments);
      ASSERT_EQ(mixed.abbreviations(), transcoded.abbreviations()) << text;
      ASSERT_EQ(mixed.possessives(), transcoded.possessives()) << text;
      ASSERT_EQ(mixed.windows1252_lines(), windows1252) << text;
      ASSERT_EQ(transcoded.windows1252_lines(), 0);
    }
  }
}

}  // namespace
}  // namespace vocor
