#include "search/search_request.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "dictionary/dictionary_set.h"
#include "dictionary/testing/scratch_dir.h"
#include "dictionary/text_file_dictionary.h"
#include "engine/pattern.h"
#include "engine/testing/vector_enum.h"
#include "search/messages.h"

namespace vocor {
namespace {

using testing::ReadAll;
using Words = std::vector<std::string>;

class SearchRequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dict_.SetFileName(
        dir_.Write("words.txt",
                   "cat\ncot\ncut\ncart\nlisten\nsilent\nenlist\ntinsel\n"
                   "level\nstop\npots\nbead\nback\nabs\ngnat\nant\ntan\n"
                   "tin\nels\nten\ncaf\xc3\xa9\nnoon\nrotor\n")
            .c_str());
    ASSERT_TRUE(dict_.Open());
  }

  static Words Found(SearchRequestResult& r) {
    EXPECT_FALSE(r.refused());
    return r.query ? ReadAll(r.query.get()) : Words{};
  }

  testing::ScratchDir dir_;
  CDictionaryTextFile dict_;
  InputHistory first_, second_, third_, fourth_;
};

TEST_F(SearchRequestTest, CrosswordOneOrTwoPatterns) {
  auto r = BuildCrosswordRequest("C?T", "", &first_, &second_, &dict_);
  EXPECT_EQ(Found(r), (Words{"cat", "cot", "cut"}));
  EXPECT_EQ(first_.entries(), (Words{"C?T"}));
  EXPECT_TRUE(second_.entries().empty());  // an empty "and" is not read

  r = BuildCrosswordRequest("c?t", "*o*", &first_, &second_, &dict_);
  EXPECT_EQ(Found(r), (Words{"cot"}));
  EXPECT_EQ(second_.entries(), (Words{"*o*"}));

  r = BuildCrosswordRequest("c?t", "??", &first_, &second_, &dict_);
  EXPECT_TRUE(r.refused());
  EXPECT_EQ(r.message, kMsgPatternsExclusive);

  r = BuildCrosswordRequest("3,3", "", &first_, &second_, &dict_);
  Words phrases = Found(r);
  EXPECT_NE(std::find(phrases.begin(), phrases.end(), "tin els"),
            phrases.end());

  r = BuildCrosswordRequest("c.t", "", &first_, &second_, &dict_);
  EXPECT_EQ(Found(r), (Words{"cat", "cot", "cut"}));
}

Words Sorted(Words words) {
  std::sort(words.begin(), words.end());
  return words;
}

// Letters that must appear and must not appear: the minimum part counts
// repeats, the maximum part leaves out both cases and lets no blank stand
// in, and over a phrase the letters count in the whole phrase.
TEST_F(SearchRequestTest, CrosswordWithAndWithoutLetters) {
  CrosswordHistories histories{&first_, &second_, &third_, &fourth_};
  auto r = BuildCrosswordRequest(CrosswordInputs{"c?t", "", "A", ""}, histories,
                                 &dict_);
  EXPECT_EQ(Found(r), (Words{"cat"}));
  EXPECT_EQ(third_.entries(), (Words{"A"}));
  EXPECT_TRUE(fourth_.entries().empty());  // an empty box is not read
  r = BuildCrosswordRequest(CrosswordInputs{"c?t", "", "", "a"}, histories,
                            &dict_);
  EXPECT_EQ(Found(r), (Words{"cot", "cut"}));
  EXPECT_EQ(fourth_.entries(), (Words{"a"}));
  r = BuildCrosswordRequest(CrosswordInputs{"*", "", "ts", "E"}, histories,
                            &dict_);
  EXPECT_EQ(Sorted(Found(r)), (Words{"pots", "stop"}));
  r = BuildCrosswordRequest(CrosswordInputs{"*", "", "ee", ""}, histories,
                            &dict_);
  EXPECT_EQ(Found(r), (Words{"level"}));
  r = BuildCrosswordRequest(CrosswordInputs{"c*", "*t", "", "?"}, histories,
                            &dict_);
  EXPECT_EQ(Sorted(Found(r)), (Words{"cart", "cat", "cot", "cut"}));

  // "s" only in the second word of "tin els".
  r = BuildCrosswordRequest(CrosswordInputs{"3,3", "", "s", "a"}, histories,
                            &dict_);
  const Words phrases = Found(r);
  EXPECT_NE(std::find(phrases.begin(), phrases.end(), "tin els"),
            phrases.end());
  for (const std::string& phrase : phrases) {
    EXPECT_NE(phrase.find('s'), std::string::npos) << phrase;
    EXPECT_EQ(phrase.find('a'), std::string::npos) << phrase;
  }

  r = BuildCrosswordRequest(CrosswordInputs{"*", "", "xe", "eX"}, histories,
                            &dict_);
  EXPECT_TRUE(r.refused());
  EXPECT_EQ(r.message, kMsgLettersExclusive);
  // A letter outside the code page is in no word.
  r = BuildCrosswordRequest(CrosswordInputs{"*", "", "\xce\xb1", ""}, histories,
                            &dict_);
  EXPECT_TRUE(Found(r).empty());
  r = BuildCrosswordRequest(CrosswordInputs{"c?t", "", "", "\xce\xb1"},
                            histories, &dict_);
  EXPECT_EQ(Found(r), (Words{"cat", "cot", "cut"}));
}

TEST(LetterPresenceConstraintTest, ExcludesBothCasesAndEveryBlank) {
  EXPECT_FALSE(LetterPresenceConstraint("", "").HasAnyPart());
  EXPECT_FALSE(LetterPresenceConstraint("", "?7").HasAnyPart());
  const CLetterConstraint c = LetterPresenceConstraint("", "e\xe9-");
  ASSERT_TRUE(c.has_max());
  EXPECT_FALSE(c.has_min());
  EXPECT_EQ(c.maxCount['?'], 0);
  EXPECT_EQ(c.maxCount['e'], 0);
  EXPECT_EQ(c.maxCount['E'], 0);
  EXPECT_EQ(c.maxCount[0xc9], 0);  // É
  EXPECT_EQ(c.maxCount['-'], 0);
  EXPECT_EQ(c.maxCount['a'], kUnlimited);
  EXPECT_EQ(c.maxCount[0xff], kUnlimited);
  EXPECT_EQ(c.maxCount[' '], kUnlimited);
  EXPECT_TRUE(c.Accepts("CAT TAX"));
  for (const char* word : {"bee", "BEE", "caf\xe9", "CAF\xc9", "x-ray"}) {
    EXPECT_FALSE(c.Accepts(word)) << word;
  }
  EXPECT_EQ(DescribeLetterCounts(c.maxCount), "* but -?Ee\xc9\xe9");
  const CLetterConstraint with = LetterPresenceConstraint("zz", "");
  EXPECT_FALSE(with.has_max());
  EXPECT_EQ(with.minCount['z'], 2);
  EXPECT_TRUE(with.Accepts("pizza"));
  EXPECT_FALSE(with.Accepts("zoo"));
}

// A malformed pattern is refused, never matched literally or silently
// dropped, naming the input and the position of its fault in characters
// as typed.
TEST_F(SearchRequestTest, MalformedPatternsAreRefusedWithTheirPlace) {
  auto r = BuildCrosswordRequest("ab[cd", "", &first_, &second_, &dict_);
  ASSERT_TRUE(r.refused());
  EXPECT_EQ(r.input, 0);
  EXPECT_EQ(r.position, 3);
  EXPECT_EQ(r.RefusalText().rfind("The pattern is not understood:\n", 0), 0u)
      << r.RefusalText();
  EXPECT_NE(r.RefusalText().find("3"), std::string::npos);

  r = BuildCrosswordRequest("c?t", "caf\xc3\xa9{t", &first_, &second_, &dict_);
  ASSERT_TRUE(r.refused());
  EXPECT_EQ(r.input, 1);
  EXPECT_EQ(r.position, 5);  // characters, not bytes
  EXPECT_EQ(r.RefusalText().rfind("The second pattern", 0), 0u);

  r = BuildAnagramRequest("listen", "??[st", &first_, &second_, &dict_);
  ASSERT_TRUE(r.refused());
  EXPECT_EQ(r.input, 1);
  EXPECT_EQ(r.position, 3);
  r = BuildPalindromeRequest(0, 0, "[ab", &first_, &dict_);
  ASSERT_TRUE(r.refused());
  EXPECT_EQ(r.input, 0);
  EXPECT_EQ(r.position, 1);

  // Well formed, the new elements count as the letters they take.
  r = BuildCrosswordRequest("c\\@t", "", &first_, &second_, &dict_);
  EXPECT_TRUE(Found(r).empty());
  r = BuildAnagramRequest("tan", "[st]{an}", &first_, &second_, &dict_);
  EXPECT_EQ(Found(r), (Words{"tan"}));
  r = BuildAnagramRequest("tan", "4-:*", &first_, &second_, &dict_);
  EXPECT_TRUE(r.refused());
  EXPECT_EQ(r.message, kMsgAnagramNeedsMoreLetters);

  // Other refusals keep their message texts and no place.
  r = BuildCrosswordRequest("c?t", "??", &first_, &second_, &dict_);
  EXPECT_EQ(r.RefusalText(), MessageText(kMsgPatternsExclusive));
  EXPECT_EQ(r.input, -1);
  r = BuildCrosswordRequest(",3", "", &first_, &second_, &dict_);
  EXPECT_EQ(r.RefusalText(), "");
}

// The problem as the syntax check words it, made a sentence of its own.
TEST(MalformedPatternTextTest, OneSentencePerLine) {
  const std::string hint =
      "\nTo match one of the characters [ ] @ # { } : \\ itself, put a \\ "
      "before it.";
  EXPECT_EQ(MalformedPatternText("pattern",
                                 "the class at position 1 holds "
                                 "no letter"),
            "The pattern is not understood:\nThe class at position 1 holds no "
            "letter." +
                hint);
  EXPECT_EQ(MalformedPatternText("second pattern",
                                 "'\\' at position 2 must come before one "
                                 "of [ ] @ # { } : \\."),
            "The second pattern is not understood:\n'\\' at position 2 must "
            "come before one of [ ] @ # { } : \\." +
                hint);
}

TEST(Utf16OffsetTest, CountsCharactersAsATextBoxDoes) {
  const std::string text =
      "a\xc3\xa9\xf0\x9d\x84\x9e"
      "b";  // a é 𝄞 b
  EXPECT_EQ(Utf16Offset(text, 0), 0);
  EXPECT_EQ(Utf16Offset(text, 2), 2);
  EXPECT_EQ(Utf16Offset(text, 3), 4);
  EXPECT_EQ(Utf16Offset(text, 4), 5);
  EXPECT_EQ(Utf16Offset(text, 9), 5);
}

TEST_F(SearchRequestTest, CrosswordRefusesSilentlyAndNeedsADictionary) {
  auto r = BuildCrosswordRequest(",3", "", &first_, &second_, &dict_);
  EXPECT_TRUE(r.refused());
  EXPECT_EQ(r.message, 0);
  r = BuildCrosswordRequest("cat", "", &first_, &second_, nullptr);
  EXPECT_TRUE(r.refused());
  EXPECT_EQ(r.message, 0);
}

TEST_F(SearchRequestTest, TypedTextIsConvertedAndUnmappableMatchesNothing) {
  auto r = BuildCrosswordRequest("CAF\xc3\x89", "", &first_, &second_, &dict_);
  EXPECT_EQ(Found(r), (Words{"caf\xe9"}));
  r = BuildCrosswordRequest("ca\xce\xb1", "", &first_, &second_, &dict_);
  EXPECT_TRUE(Found(r).empty());
  r = BuildCrosswordRequest("*\xce\xb1*", "", &first_, &second_, &dict_);
  EXPECT_TRUE(Found(r).empty());
  r = BuildAnagramRequest("lis\xce\xb1ten", "", &first_, &second_, &dict_);
  EXPECT_TRUE(Found(r).empty());
  r = BuildHiddenRequest("ant\xce\xb1", "3", "", &first_, &second_, &third_,
                         &dict_);
  EXPECT_EQ(Found(r), (Words{"ant", "tan"}));
  r = BuildHiddenRequest("a*n*t*", "", "\xce\xb1", &first_, &second_, &third_,
                         &dict_);
  EXPECT_TRUE(Found(r).empty());
}

TEST_F(SearchRequestTest, AnagramCountsLettersAgainstThePattern) {
  auto r = BuildAnagramRequest("Listen", "", &first_, &second_, &dict_);
  EXPECT_EQ(Found(r), (Words{"listen", "silent", "enlist", "tinsel"}));
  EXPECT_EQ(first_.entries(), (Words{"Listen"}));
  EXPECT_EQ(second_.entries(), (Words{""}));

  r = BuildAnagramRequest("abc", "4", &first_, &second_, &dict_);
  EXPECT_EQ(r.message, kMsgAnagramNeedsMoreLetters);
  EXPECT_EQ(first_.entries().front(), "abc");  // both read before refusing
  EXPECT_EQ(second_.entries().front(), "4");

  r = BuildAnagramRequest("ab??", "c?t", &first_, &second_, &dict_);
  EXPECT_FALSE(r.refused());
  r = BuildAnagramRequest("a*", "?", &first_, &second_, &dict_);
  EXPECT_EQ(r.message, kMsgAnagramNeedsMoreLetters);
  r = BuildAnagramRequest("e3", "3", &first_, &second_, &dict_);
  EXPECT_FALSE(r.refused());
  r = BuildAnagramRequest("listen", "3,3", &first_, &second_, &dict_);
  Words phrases = Found(r);
  EXPECT_NE(std::find(phrases.begin(), phrases.end(), "tin els"),
            phrases.end());
  EXPECT_EQ(std::find(phrases.begin(), phrases.end(), "tin ten"),
            phrases.end());
  r = BuildAnagramRequest("listen", "3,4", &first_, &second_, &dict_);
  EXPECT_EQ(r.message, kMsgAnagramNeedsMoreLetters);
  // A proven-empty anagram still runs.
  r = BuildAnagramRequest("xyz", "", &first_, &second_, &dict_);
  EXPECT_TRUE(Found(r).empty());
  // A shape no phrase can have is refused silently, as crossword refuses
  // a pattern no word can match, after entering the histories.
  std::string pieces = "*";
  for (int i = 0; i < kMaxPatternPieces; ++i) pieces += ",*";
  r = BuildAnagramRequest("listen", pieces, &first_, &second_, &dict_);
  EXPECT_TRUE(r.refused());
  EXPECT_EQ(r.message, 0);
  EXPECT_EQ(second_.entries().front(), pieces);
  r = BuildAnagramRequest("listen", pieces.substr(2), &first_, &second_,
                          &dict_);
  EXPECT_FALSE(r.refused());
}

TEST_F(SearchRequestTest, AnagramPhrasesOfAnyLengths) {
  InputHistory words, shortest;
  const AnagramHistories histories{&first_, &second_, &words, &shortest};
  auto r = BuildAnagramRequest({"antels", "*,*", "", ""}, histories, &dict_);
  // Each combination once, its words in the list's order.
  EXPECT_EQ(Found(r), (Words{"ant els", "tan els"}));
  r = BuildAnagramRequest({"antels", "", "2", ""}, histories, &dict_);
  EXPECT_EQ(Found(r), (Words{"ant els", "tan els"}));
  EXPECT_EQ(words.entries().front(), "2");
  r = BuildAnagramRequest({"catsilent", "", " 3", "3"}, histories, &dict_);
  EXPECT_EQ(Found(r), (Words{"cat listen", "cat silent", "cat enlist",
                             "cat tinsel", "cat tin els"}));
  // A fixed piece keeps its place; a star takes whatever is left.
  r = BuildAnagramRequest({"antels", "*,3", "", ""}, histories, &dict_);
  EXPECT_EQ(Found(r), (Words{"ant els", "tan els", "els ant", "els tan"}));
  r = BuildAnagramRequest({"an?els", "3,*", "", ""}, histories, &dict_);
  EXPECT_EQ(Found(r), (Words{"ant els", "tan els", "els ant", "els tan"}));
}

TEST_F(SearchRequestTest, AnagramWordChoicesAreCheckedBeforeAnyHistory) {
  InputHistory words, shortest;
  const AnagramHistories histories{&first_, &second_, &words, &shortest};
  auto r = BuildAnagramRequest({"antels", "", "0", ""}, histories, &dict_);
  EXPECT_EQ(r.message, kMsgInvalidMaxWords);
  r = BuildAnagramRequest({"antels", "", "", "x"}, histories, &dict_);
  EXPECT_EQ(r.message, kMsgInvalidMinLength);
  EXPECT_TRUE(first_.entries().empty());
  EXPECT_TRUE(shortest.entries().empty());

  r = BuildAnagramRequest({"antels", "*,*", "3", ""}, histories, &dict_);
  EXPECT_EQ(r.message, kMsgLengthsAndMaxWords);
  EXPECT_EQ(words.entries().front(), "3");
  // Minimums no phrase can meet: too long for the letters, longer than a
  // fixed piece, or too long for every word of the pattern together.
  r = BuildAnagramRequest({"antels", "", "", "7"}, histories, &dict_);
  EXPECT_EQ(r.message, kMsgMinWordLengthTooLong);
  r = BuildAnagramRequest({"antels", "3,*", "", "4"}, histories, &dict_);
  EXPECT_EQ(r.message, kMsgMinWordLengthTooLong);
  r = BuildAnagramRequest({"antels", "*,*", "", "4"}, histories, &dict_);
  EXPECT_EQ(r.message, kMsgMinWordLengthTooLong);
  r = BuildAnagramRequest({"antels", "*,*", "", "3"}, histories, &dict_);
  EXPECT_EQ(Found(r).size(), 2u);
  r = BuildAnagramRequest({"antels", "", "3", "6"}, histories, &dict_);
  EXPECT_EQ(Found(r), Words{});  // no six-letter anagram in the list
}

TEST_F(SearchRequestTest, HiddenMinimumLength) {
  for (const char* bad : {"0", "-2", "x", " ", "-99999999999"}) {
    InputHistory from, min, must;
    auto r = BuildHiddenRequest("ant", bad, "", &from, &min, &must, &dict_);
    EXPECT_EQ(r.message, kMsgInvalidMinLength) << bad;
    EXPECT_TRUE(from.entries().empty() && min.entries().empty() &&
                must.entries().empty());
  }
  auto r =
      BuildHiddenRequest("gnat", "4x", "", &first_, &second_, &third_, &dict_);
  EXPECT_EQ(Found(r), (Words{"gnat"}));
  r = BuildHiddenRequest("gnat", " 3", "g", &first_, &second_, &third_, &dict_);
  EXPECT_EQ(Found(r), (Words{"gnat"}));
  r = BuildHiddenRequest("gnat", "", "", &first_, &second_, &third_, &dict_);
  EXPECT_EQ(Found(r), (Words{"gnat", "ant", "tan"}));
  EXPECT_EQ(second_.entries().front(), "");
  r = BuildHiddenRequest("a*n*t*g*", "99999999999999", "", &first_, &second_,
                         &third_, &dict_);
  EXPECT_TRUE(Found(r).empty());
  EXPECT_EQ(ReadLeadingInteger("  +12abc"), 12);
  EXPECT_EQ(ReadLeadingInteger("99999999999"), INT_MAX);
}

TEST_F(SearchRequestTest, Palindromes) {
  auto r = BuildPalindromeRequest(0, 0, "", &first_, &dict_);
  EXPECT_EQ(Found(r), (Words{"level", "noon", "rotor"}));
  EXPECT_EQ(first_.entries(), (Words{""}));
  r = BuildPalindromeRequest(0, 0, "5", &first_, &dict_);
  EXPECT_EQ(Found(r), (Words{"level", "rotor"}));
  r = BuildPalindromeRequest(0, 1, "", &first_, &dict_);
  EXPECT_EQ(Found(r), (Words{"level", "stop", "pots", "noon", "rotor"}));
  r = BuildPalindromeRequest(0, 0, ",5", &first_, &dict_);
  EXPECT_TRUE(r.refused());
  EXPECT_EQ(r.message, 0);
}

// Only "All Dictionaries" without members means that nothing is
// installed; a crossword over it is refused without a message, the other
// kinds find nothing.
TEST_F(SearchRequestTest, NothingInstalledIsTheEmptyContainerOnly) {
  CDictionarySet all;
  all.MarkAsContainer();
  EXPECT_TRUE(IsNothingInstalled(&all));
  EXPECT_TRUE(IsNothingInstalled(nullptr));
  auto r = BuildCrosswordRequest("c?t", "", &first_, &second_, &all);
  EXPECT_TRUE(r.refused());
  EXPECT_EQ(r.message, 0);
  r = BuildHiddenRequest("cat", "", "", &first_, &second_, &third_, &all);
  EXPECT_EQ(Found(r), Words{});

  CDictionarySet named;
  EXPECT_FALSE(IsNothingInstalled(&named));
  EXPECT_FALSE(IsNothingInstalled(&dict_));
  all.members().AddTail(&dict_);
  EXPECT_FALSE(IsNothingInstalled(&all));
  all.members().RemoveAll();
}

TEST(CanSearchTest, BlanksCount) {
  EXPECT_FALSE(CanSearchWith(""));
  EXPECT_TRUE(CanSearchWith(" "));
}

}  // namespace
}  // namespace vocor
