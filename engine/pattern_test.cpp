#include "engine/pattern.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/testing/reference.h"
#include "engine/testing/vector_enum.h"

namespace vocor {
namespace {

using testing::MakeVectorEnum;
using testing::ReadAll;

TEST(MatchPatternTest, AnchoredWildcards) {
  EXPECT_TRUE(MatchPattern("cat", "c?t"));
  EXPECT_TRUE(MatchPattern("cut", "c?t"));
  EXPECT_FALSE(MatchPattern("ct", "c?t"));
  EXPECT_FALSE(MatchPattern("cart", "c?t"));
  EXPECT_TRUE(MatchPattern("ct", "c*t"));
  EXPECT_TRUE(MatchPattern("cart", "c*t"));
  EXPECT_TRUE(MatchPattern("anything", "*"));
  EXPECT_FALSE(MatchPattern("a", ""));
  EXPECT_TRUE(MatchPattern("a", "?"));
  EXPECT_FALSE(MatchPattern("ab", "?"));
  EXPECT_FALSE(MatchPattern("Cat", "c?t"));
  EXPECT_TRUE(MatchPattern("cat sat", "c?t?s*"));
  EXPECT_TRUE(MatchPattern("abcabd", "*ab?"));
  EXPECT_FALSE(MatchPattern("abcabd", "*abc"));
  // A literal star in a word is matched only by the pattern's star.
  EXPECT_FALSE(MatchPattern("*", "a"));
}

TEST(MatchPatternTest, AgreesWithBacktrackingOnRandomInputs) {
  std::mt19937 rng(7);
  const std::string chars = "ab?*";
  for (int i = 0; i < 20000; ++i) {
    std::string word, pattern;
    for (int k = rng() % 7; k > 0; --k) word += "ab"[rng() % 2];
    for (int k = rng() % 7; k > 0; --k) pattern += chars[rng() % 4];
    ASSERT_EQ(MatchPattern(word.c_str(), pattern.c_str()),
              testing::RefMatch(word, pattern))
        << word << " / " << pattern;
  }
}

TEST(MatchPatternTest, ManyStarsStayFast) {
  // Exponential backtracking would not finish these.
  const std::string word(2000, 'a');
  std::string pattern;
  for (int i = 0; i < 200; ++i) pattern += "*a";
  pattern += "b";
  EXPECT_FALSE(MatchPattern(word.c_str(), pattern.c_str()));
  EXPECT_FALSE(PatternsCompatible(pattern.c_str(), (word + "c").c_str()));
  EXPECT_TRUE(PatternsCompatible(pattern.c_str(), (word + "*").c_str()));
}

TEST(PatternsCompatibleTest, SomeWordMatchesBoth) {
  EXPECT_TRUE(PatternsCompatible("?a*", "*t"));
  EXPECT_FALSE(PatternsCompatible("c??", "??"));
  EXPECT_TRUE(PatternsCompatible("ab*", "*ba"));
  EXPECT_FALSE(PatternsCompatible("a*b", "b*a"));
  EXPECT_TRUE(PatternsCompatible("*", ""));
  EXPECT_FALSE(PatternsCompatible("?", ""));
  EXPECT_TRUE(PatternsCompatible("a*", "*b*"));
}

// Brute force: compatible exactly when some short word over the letters of
// both patterns (plus one more) matches both.
bool SomeWordMatchesBoth(const std::string& a, const std::string& b) {
  const std::string letters = "abz";
  for (int len = 0; len <= 6; ++len) {
    int total = 1;
    for (int i = 0; i < len; ++i) total *= 3;
    for (int n = 0; n < total; ++n) {
      std::string w;
      for (int i = 0, v = n; i < len; ++i, v /= 3) w += letters[v % 3];
      if (testing::RefMatch(w, a) && testing::RefMatch(w, b)) return true;
    }
  }
  return false;
}

TEST(PatternsCompatibleTest, AgreesWithBruteForce) {
  std::mt19937 rng(11);
  const std::string chars = "ab?*";
  for (int i = 0; i < 3000; ++i) {
    std::string a, b;
    for (int k = rng() % 4; k > 0; --k) a += chars[rng() % 4];
    for (int k = rng() % 4; k > 0; --k) b += chars[rng() % 4];
    ASSERT_EQ(PatternsCompatible(a.c_str(), b.c_str()),
              SomeWordMatchesBoth(a, b))
        << a << " / " << b;
  }
}

TEST(ComparePatternSpecificityTest, StarsThenFixedThenQuestionMarks) {
  EXPECT_EQ(ComparePatternSpecificity("c?t", "???"), -1);
  EXPECT_EQ(ComparePatternSpecificity("c*", "???"), 1);
  EXPECT_EQ(ComparePatternSpecificity("a?", "b?"), 0);
  EXPECT_EQ(ComparePatternSpecificity("a??", "a?"), 1);
  int stars, questions;
  CountWildcards("*a?*?", stars, questions);
  EXPECT_EQ(stars, 2);
  EXPECT_EQ(questions, 2);
}

std::string Spec(const char* spec) {
  std::string out;
  LengthSpecToPattern(spec, out);
  return out;
}

TEST(LengthSpecToPatternTest, Notation) {
  EXPECT_EQ(Spec("3,4"), "??? ????");
  EXPECT_EQ(Spec("10"), std::string(10, '?'));
  EXPECT_EQ(Spec("a**b"), "a*b");
  EXPECT_EQ(Spec("***"), "*");
  EXPECT_EQ(Spec("0"), "");
  EXPECT_EQ(Spec("c.t"), "c?t");
  EXPECT_EQ(Spec("5*"), "?????*");
  EXPECT_EQ(Spec("a b"), "a b");
}

TEST(LengthSpecToPatternTest, HugeRunsSaturateInsteadOfWrapping) {
  // 4294967299 wraps to 3 in 32 bits; 99999999999 would go negative.
  EXPECT_EQ(Spec("4294967299").size(), static_cast<size_t>(kMaxLengthRun));
  EXPECT_EQ(Spec("99999999999999999999,2"),
            std::string(kMaxLengthRun, '?') + " ??");
  EXPECT_EQ(Spec("1000").size(), 1000u);
}

TEST(LengthSpecToPatternTest, ExpansionStaysBoundedAndMeansTheSame) {
  // Each run is capped, but '.' joins runs into one piece: 75 runs once
  // grew to 75,000 characters, and two such patterns took seconds to
  // compare. A piece stops at one character past the longest word.
  std::string joined;
  for (int i = 0; i < 75; ++i) joined += i == 0 ? "999" : ".999";
  const std::string piece = Spec(joined.c_str());
  EXPECT_EQ(piece, std::string(kMaxPieceLetters + 1, '?'));
  EXPECT_TRUE(PatternExceedsLimits(piece.c_str()));
  // The next piece starts afresh.
  EXPECT_EQ(Spec((joined + ",2").c_str()),
            std::string(kMaxPieceLetters + 1, '?') + " ??");
  // 100,000 typed pieces: the output stops one piece past the limit.
  std::string many;
  for (int i = 0; i < 100000; ++i) many += "999,";
  const std::string phrase = Spec(many.c_str());
  EXPECT_LT(phrase.size(), (kMaxPatternPieces + 2) * 1000u);
  EXPECT_TRUE(PatternExceedsLimits(phrase.c_str()));
}

TEST(PatternLimitsTest, PiecesAndLettersWithinLimitsPass) {
  const std::string longest(kMaxPieceLetters, '?');
  EXPECT_FALSE(PatternExceedsLimits((longest + "*").c_str()));
  EXPECT_FALSE(PatternExceedsLimits((longest + " " + longest).c_str()));
  EXPECT_TRUE(PatternExceedsLimits((longest + "a").c_str()));
  // Stars ask for no character.
  std::string starred;
  for (int i = 0; i < kMaxPieceLetters; ++i) starred += "*a";
  EXPECT_FALSE(PatternExceedsLimits(starred.c_str()));
  std::string pieces = "a";
  for (int i = 1; i < kMaxPatternPieces; ++i) pieces += " a";
  EXPECT_FALSE(PatternExceedsLimits(pieces.c_str()));
  EXPECT_TRUE(PatternExceedsLimits((pieces + " a").c_str()));
}

TEST(CollapseWildcardRunsTest, OneStarPerRunAfterItsQuestionMarks) {
  EXPECT_EQ(CollapseWildcardRuns("*?*?*"), "??*");
  EXPECT_EQ(CollapseWildcardRuns("a?*?b*c"), "a??*b*c");
  EXPECT_EQ(CollapseWildcardRuns("???"), "???");
  EXPECT_EQ(CollapseWildcardRuns("**"), "*");
  EXPECT_EQ(CollapseWildcardRuns("c?t"), "c?t");
  EXPECT_EQ(CollapseWildcardRuns(""), "");
}

TEST(CollapseWildcardRunsTest, SameWordsMatch) {
  std::mt19937 rng(11);
  const std::string chars = "ab??**";
  for (int i = 0; i < 20000; ++i) {
    std::string word, pattern;
    for (int k = rng() % 8; k > 0; --k) word += "ab"[rng() % 2];
    for (int k = rng() % 9; k > 0; --k) pattern += chars[rng() % 6];
    const std::string collapsed = CollapseWildcardRuns(pattern.c_str());
    ASSERT_EQ(MatchPattern(word.c_str(), collapsed.c_str()),
              testing::RefMatch(word, pattern))
        << word << " / " << pattern;
  }
}

TEST(ApplyWordPatternTest, PatternsNoWordCanFitAreEmptyAtOnce) {
  // A piece longer than any stored word, typed in the length notation.
  std::string joined = "999";
  for (int i = 0; i < 74; ++i) joined += ".999";
  EnumPtr e = ApplyWordPattern(MakeVectorEnum({"cat"}), joined.c_str());
  EXPECT_TRUE(IsNone(e.get()));
  // Too many words: no reader per piece is ever made.
  std::string pieces = "a";
  for (int i = 0; i < 60000; ++i) pieces += ",a";
  e = ApplyWordPattern(MakeVectorEnum({"a"}), pieces.c_str());
  EXPECT_TRUE(IsNone(e.get()));
  // Within the limits the phrase is built as before.
  e = ApplyWordPattern(MakeVectorEnum({"a", "bb"}), "1,2");
  EXPECT_EQ(ReadAll(e.get()), (std::vector<std::string>{"a bb"}));
}

TEST(PatternNodeTest, IncomingPatternKeepsCollapsedRuns) {
  EnumPtr e = MakeVectorEnum({"cat", "ca", "cart"});
  e = e->Pattern(std::move(e), "c*?*?*");
  e = e->Pattern(std::move(e), "c*t");
  EXPECT_EQ(e->Describe(0),
            "Pattern(\"c??*\")\n\tPattern(\"c*t\")\n\t\tVector(\"words\")\n");
  EXPECT_EQ(ReadAll(e.get()), (std::vector<std::string>{"cat", "cart"}));
}

TEST(PatternNodeTest, TwoPatternsStackTheMoreSelectiveNearestTheChild) {
  EnumPtr e = MakeVectorEnum({"cat", "cot", "cart"});
  e = e->Pattern(std::move(e), "c*t");
  e = e->Pattern(std::move(e), "c?t");
  EXPECT_EQ(e->Describe(0),
            "Pattern(\"c*t\")\n\tPattern(\"c?t\")\n\t\tVector(\"words\")\n");
  EXPECT_EQ(ReadAll(e.get()), (std::vector<std::string>{"cat", "cot"}));

  EnumPtr f = MakeVectorEnum({"cat"});
  f = f->Pattern(std::move(f), "c?t");
  f = f->Pattern(std::move(f), "???");
  EXPECT_EQ(f->Describe(0),
            "Pattern(\"???\")\n\tPattern(\"c?t\")\n\t\tVector(\"words\")\n");

  EnumPtr g = MakeVectorEnum({"cat"});
  g = g->Pattern(std::move(g), "c?t");
  g = g->Pattern(std::move(g), "?a??");
  EXPECT_TRUE(IsNone(g.get()));
}

TEST(PatternNodeTest, SamePatternTwiceAndStarsLeaveOneNode) {
  EnumPtr e = MakeVectorEnum({"cat"});
  e = e->Pattern(std::move(e), "c?t");
  CEnumResults* node = e.get();
  e = e->Pattern(std::move(e), "**");
  EXPECT_EQ(e.get(), node);
  e = e->Pattern(std::move(e), "");
  EXPECT_TRUE(IsNone(e.get()));
}

TEST(PatternNodeTest, ContainsChecksPatternThenChild) {
  EnumPtr e = MakeVectorEnum({"cat", "dog"});
  e = e->Pattern(std::move(e), "c*");
  EXPECT_TRUE(e->Contains("cat"));
  EXPECT_FALSE(e->Contains("dog"));
  EXPECT_FALSE(e->Contains("cow"));
}

}  // namespace
}  // namespace vocor
