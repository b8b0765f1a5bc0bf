#include "engine/letters.h"

#include <gtest/gtest.h>

#include "engine/testing/vector_enum.h"

namespace vocor {
namespace {

using testing::MakeVectorEnum;
using testing::ReadAll;
using Words = std::vector<std::string>;

std::string RoundTrip(const char* text) {
  int counts[kLetterTableSize];
  ParseLetterCounts(text, counts);
  return FormatLetterCounts(counts);
}

TEST(LetterCountTextTest, ParseAndFormat) {
  EXPECT_EQ(RoundTrip("abc?"), "?abc");
  EXPECT_EQ(RoundTrip("e2s"), "ees");
  EXPECT_EQ(RoundTrip("a*a"), "a*");
  EXPECT_EQ(RoundTrip("aa3"), "aaaa");
  EXPECT_EQ(RoundTrip("b a, 7 -'"), "'-ab");
  EXPECT_EQ(RoundTrip("a*bc?"), "?a*bc");
  // Accented letters count like any letter and print after ASCII.
  EXPECT_EQ(RoundTrip("\xe9t\xe9"), "t\xe9\xe9");
}

TEST(LetterCountTextTest, DigitRunsSaturateAndNeverBecomeUnlimited) {
  int counts[kLetterTableSize];
  ParseLetterCounts("a4294967295", counts);
  EXPECT_EQ(counts['a'], kMaxLetterCount);
  ParseLetterCounts("a2147483647", counts);
  EXPECT_EQ(counts['a'], kMaxLetterCount);
  ParseLetterCounts("a2000000000a2000000000", counts);
  EXPECT_EQ(counts['a'], kMaxLetterCount);
  ParseLetterCounts("a99999999999999999999999", counts);
  EXPECT_EQ(counts['a'], kMaxLetterCount);
  // A huge count prints compactly and reads back the same.
  const std::string text = FormatLetterCounts(counts);
  EXPECT_LT(text.size(), 20u);
  int again[kLetterTableSize];
  ParseLetterCounts(text.c_str(), again);
  EXPECT_EQ(again['a'], kMaxLetterCount);
}

TEST(LetterCountTextTest, SumsSaturateAndSkipUnlimited) {
  int counts[kLetterTableSize];
  ParseLetterCounts("ab*c2", counts);
  EXPECT_EQ(SumLetterCounts(counts), 3);
  ParseLetterCounts("a2000000000b2000000000", counts);
  EXPECT_EQ(SumLetterCounts(counts), kMaxLetterCount);
}

TEST(LetterConstraintTest, PartsAndSatisfiability) {
  CLetterConstraint none(nullptr, nullptr);
  EXPECT_FALSE(none.HasAnyPart());
  CLetterConstraint empty_max(nullptr, "");
  EXPECT_TRUE(empty_max.has_max());
  EXPECT_FALSE(empty_max.IsSatisfiable());
  EXPECT_FALSE(CLetterConstraint("ee", "e?").IsSatisfiable());
  EXPECT_TRUE(CLetterConstraint("e", "e?").IsSatisfiable());
  // Extra letters required are not compared with blanks available.
  EXPECT_TRUE(CLetterConstraint("??", "abc").IsSatisfiable());
  EXPECT_TRUE(CLetterConstraint("?", nullptr).IsSatisfiable());
}

TEST(LetterConstraintTest, CombineKeepsTheTighterOfEachCount) {
  CLetterConstraint c(nullptr, "abc");
  c.CombineWith(CLetterConstraint(nullptr, "ab?"));
  EXPECT_EQ(FormatLetterCounts(c.maxCount), "ab");
  c.CombineWith(CLetterConstraint("a", nullptr));
  EXPECT_TRUE(c.has_min());
  EXPECT_EQ(FormatLetterCounts(c.minCount), "a");
}

TEST(LetterConstraintTest, AcceptsWithBlanksAndRequiredExtras) {
  CLetterConstraint must(("ab??"), nullptr);
  EXPECT_TRUE(must.Accepts("bead"));
  EXPECT_FALSE(must.Accepts("abs"));
  CLetterConstraint tiles(nullptr, "abc?");
  EXPECT_TRUE(tiles.Accepts("back"));
  EXPECT_TRUE(tiles.Accepts("cab"));
  EXPECT_FALSE(tiles.Accepts("bead"));
  EXPECT_TRUE(CLetterConstraint(nullptr, "listen").Accepts("tin els"));
  EXPECT_FALSE(CLetterConstraint(nullptr, "listen").Accepts("tin ten"));
  EXPECT_TRUE(CLetterConstraint(nullptr, "a*").Accepts("aaaaaaa"));
  EXPECT_TRUE(CLetterConstraint(nullptr, "\xe9t").Accepts("\xe9t"));
  EXPECT_FALSE(CLetterConstraint(nullptr, "et").Accepts("\xe9t"));
}

TEST(LetterConstraintTest, TakeLetterUsesBlanksAndGivesBack) {
  CLetterConstraint c(nullptr, "a?");
  EXPECT_EQ(c.TakeLetter('a'), 'a');
  EXPECT_EQ(c.TakeLetter('x'), '?');
  EXPECT_EQ(c.TakeLetter('x'), -1);
  c.GiveBack('?');
  EXPECT_EQ(c.TakeLetter('x'), '?');
  CLetterConstraint unlimited(nullptr, "a*?*");
  EXPECT_EQ(unlimited.TakeLetter('a'), 0);
  EXPECT_EQ(unlimited.TakeLetter('z'), 0);
  CLetterConstraint no_max("a", nullptr);
  EXPECT_EQ(no_max.TakeLetter('z'), 0);
}

TEST(LettersNodeTest, DescribeFiltersAndCombines) {
  EnumPtr e = MakeVectorEnum({"bead", "abs", "dab"});
  e = e->Letters(std::move(e), CLetterConstraint("ee", "a*bc?"));
  EXPECT_TRUE(IsNone(e.get()));

  e = MakeVectorEnum({"bead", "abs", "dab", "bade"});
  e = e->Letters(std::move(e), CLetterConstraint("ab", nullptr));
  EXPECT_EQ(e->Describe(0),
            "Letters(\"ab\",\"<null>\")\n\tVector(\"words\")\n");
  CEnumResults* node = e.get();
  e = e->Letters(std::move(e), CLetterConstraint(nullptr, "abde"));
  EXPECT_EQ(e.get(), node);  // narrowed in place
  EXPECT_EQ(ReadAll(e.get()), (Words{"bead", "dab", "bade"}));
  EXPECT_TRUE(e->Contains("bead"));
  EXPECT_FALSE(e->Contains("abs"));
  e = e->Letters(std::move(e), CLetterConstraint("zz", nullptr));
  EXPECT_TRUE(IsNone(e.get()));
}

TEST(LettersNodeTest, DescribeOfMinAndMax) {
  EnumPtr e = MakeVectorEnum({"x"});
  e = e->Letters(std::move(e), CLetterConstraint("e", "a*bce?"));
  EXPECT_EQ(e->Describe(1),
            "\tLetters(\"e\",\"?a*bce\")\n\t\tVector(\"words\")\n");
}

TEST(BuildLettersQueryTest, MinimumLengthAddsAPattern) {
  const Words words = {"a", "at", "tan", "ant", "gnat", "tnt"};
  EnumPtr e = BuildLettersQuery(MakeVectorEnum(words), "t", "ant?", 3);
  EXPECT_EQ(ReadAll(e.get()), (Words{"tan", "ant", "gnat", "tnt"}));
  e = BuildLettersQuery(MakeVectorEnum(words), nullptr, "ant", 1);
  EXPECT_EQ(ReadAll(e.get()), (Words{"a", "at", "tan", "ant"}));
  e = BuildLettersQuery(MakeVectorEnum(words), nullptr, "a*n*t*g*", 2000000);
  EXPECT_TRUE(ReadAll(e.get()).empty());
}

}  // namespace
}  // namespace vocor
