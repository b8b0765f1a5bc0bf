#include "engine/cross_product.h"

#include <gtest/gtest.h>

#include "engine/letters.h"
#include "engine/testing/vector_enum.h"

namespace vocor {
namespace {

using testing::MakeVectorEnum;
using testing::ReadAll;
using testing::VectorEnum;
using Words = std::vector<std::string>;

EnumPtr Product(EnumPtr a, EnumPtr b) {
  return a->CrossProduct(std::move(a), std::move(b));
}

TEST(SplitFirstWordTest, Pieces) {
  std::string rest = "ab  c ";
  EXPECT_EQ(SplitFirstWord(rest), "ab");
  EXPECT_EQ(rest, " c ");
  EXPECT_EQ(SplitFirstWord(rest), "");
  EXPECT_EQ(SplitFirstWord(rest), "c");
  EXPECT_EQ(rest, "");
  rest = "solo";
  EXPECT_EQ(SplitFirstWord(rest), "solo");
  EXPECT_EQ(rest, "");
}

TEST(CrossProductTest, OdometerOrderLastComponentFastest) {
  EnumPtr p = Product(MakeVectorEnum({"at", "it"}), MakeVectorEnum({"be"}));
  EXPECT_EQ(ReadAll(p.get()), (Words{"at be", "it be"}));
  EnumPtr q = Product(MakeVectorEnum({"a", "b"}), MakeVectorEnum({"x", "y"}));
  q = Product(std::move(q), MakeVectorEnum({"1", "2"}));
  EXPECT_EQ(ReadAll(q.get()), (Words{"a x 1", "a x 2", "a y 1", "a y 2",
                                     "b x 1", "b x 2", "b y 1", "b y 2"}));
  q->Reset();
  EXPECT_EQ(ReadAll(q.get()).size(), 8u);
}

TEST(CrossProductTest, FlattensAndCollapsesOnEmpty) {
  EnumPtr ab = Product(MakeVectorEnum({"a"}), MakeVectorEnum({"b"}));
  EnumPtr cd = Product(MakeVectorEnum({"c"}), MakeVectorEnum({"d"}));
  ab = Product(std::move(ab), std::move(cd));
  EXPECT_EQ(ab->Describe(0),
            "CrossProduct\n\tVector(\"words\")\n\tVector(\"words\")\n"
            "\tVector(\"words\")\n\tVector(\"words\")\n");
  EXPECT_EQ(ReadAll(ab.get()), (Words{"a b c d"}));
  ab = Product(std::move(ab), std::make_unique<CEnumResultsNone>());
  EXPECT_TRUE(IsNone(ab.get()));
}

TEST(CrossProductTest, AnEmptyComponentEndsAfterOneReadOfTheFirst) {
  auto first = std::make_unique<VectorEnum>(Words{"a", "b", "c"});
  VectorEnum* first_raw = first.get();
  EnumPtr p = Product(std::move(first), MakeVectorEnum({}));
  EXPECT_TRUE(ReadAll(p.get()).empty());
  EXPECT_EQ(first_raw->words_read(), 1);
  EXPECT_EQ(p->Next(nullptr), nullptr);
}

TEST(CrossProductTest, PatternNeedsOnePiecePerComponent) {
  auto make = [] {
    EnumPtr p =
        Product(MakeVectorEnum({"ab", "ba"}), MakeVectorEnum({"ab", "bb"}));
    return Product(std::move(p), MakeVectorEnum({"ab"}));
  };
  EnumPtr p = make();
  EXPECT_TRUE(IsNone(p->Pattern(std::move(p), "a* b*").get()));
  p = make();
  EXPECT_TRUE(IsNone(p->Pattern(std::move(p), "a* b* c* d*").get()));
  p = make();
  EXPECT_TRUE(IsNone(p->Pattern(std::move(p), "*").get()));
  p = make();
  p = p->Pattern(std::move(p), "b? * a* ");  // trailing space ignored
  EXPECT_EQ(ReadAll(p.get()), (Words{"ba ab ab", "ba bb ab"}));
}

TEST(CrossProductTest, ContainsMatchesWordByWord) {
  EnumPtr p = Product(MakeVectorEnum({"cat"}), MakeVectorEnum({"dog"}));
  EXPECT_TRUE(p->Contains("cat dog"));
  EXPECT_FALSE(p->Contains("cat"));
  EXPECT_FALSE(p->Contains("cat dog dog"));
  EXPECT_FALSE(p->Contains("dog cat"));
}

TEST(CrossProductTest, ProgressFollowsTheFirstComponent) {
  EnumPtr p =
      Product(MakeVectorEnum({"a", "b"}), MakeVectorEnum({"x", "y", "z"}));
  EXPECT_EQ(p->GetExtent(), 2);
  p->Next(nullptr);
  EXPECT_EQ(p->GetPosition(), 1);
  CEnumResultsCrossProduct empty;
  EXPECT_EQ(empty.GetPosition(), 0);
  EXPECT_EQ(empty.GetExtent(), 1);
  EXPECT_EQ(empty.Next(nullptr), nullptr);
}

TEST(CrossProductTest, SuspendsInsideAComponentAndResumes) {
  EnumPtr p =
      Product(MakeVectorEnum({"a", "b"}, 3), MakeVectorEnum({"x", "y"}, 2));
  Words sliced = testing::ReadAllInSlices(p.get(), 1);
  EXPECT_EQ(sliced, (Words{"a x", "a y", "b x", "b y"}));
}

const Words kThreeLetterWords = {"tin", "els", "ten", "net", "set", "lit"};

TEST(CrossProductTest, LettersSplitOverComponentsAndCheckTheWhole) {
  EnumPtr p = Product(MakeVectorEnum(kThreeLetterWords),
                      MakeVectorEnum(kThreeLetterWords));
  p = p->Letters(std::move(p), CLetterConstraint(nullptr, "listen"));
  EXPECT_EQ(p->Describe(0).rfind(
                "Letters(\"<null>\",\"eilnst\")\n\tCrossProduct\n", 0),
            0u);
  Words found = ReadAll(p.get());
  EXPECT_NE(std::find(found.begin(), found.end(), "tin els"), found.end());
  EXPECT_EQ(std::find(found.begin(), found.end(), "tin ten"), found.end());
  for (const auto& phrase : found) {
    EXPECT_TRUE(CLetterConstraint(nullptr, "listen").Accepts(phrase.c_str()));
  }
}

TEST(ApplyWordPatternTest, SingleAndMultiWord) {
  const Words words = {"cat", "cot", "at", "dog"};
  EnumPtr e = ApplyWordPattern(MakeVectorEnum(words), "c?t");
  EXPECT_EQ(ReadAll(e.get()), (Words{"cat", "cot"}));
  e = ApplyWordPattern(MakeVectorEnum({"ab", "cd", "efg"}), "2,2");
  EXPECT_EQ(ReadAll(e.get()), (Words{"ab ab", "ab cd", "cd ab", "cd cd"}));
  for (const char* bad : {"2,,2", ",2", "2,x"}) {
    e = ApplyWordPattern(MakeVectorEnum(words), bad);
    EXPECT_TRUE(ReadAll(e.get()).empty()) << bad;
  }
  e = ApplyWordPattern(MakeVectorEnum({"ab"}), "2,");
  EXPECT_EQ(ReadAll(e.get()), (Words{"ab"}));
}

TEST(BuildAnagramQueryTest, ExactLettersWithBlanks) {
  const Words words = {"back", "cab", "bead", "abcd", "ab"};
  EnumPtr e = BuildAnagramQuery(MakeVectorEnum(words), "abc?", nullptr);
  EXPECT_EQ(ReadAll(e.get()), (Words{"back", "abcd"}));
  e = BuildAnagramQuery(MakeVectorEnum(words), "", nullptr);
  EXPECT_TRUE(IsNone(e.get()));
  e = BuildAnagramQuery(MakeVectorEnum(words, 1, "dict"), "abc", "");
  EXPECT_EQ(e->Describe(0),
            "Pattern(\"???\")\n\tLetters(\"<null>\",\"abc\")\n"
            "\t\tVector(\"dict\")\n");
  e = BuildAnagramQuery(MakeVectorEnum(kThreeLetterWords), "listen", "3,3");
  Words found = ReadAll(e.get());
  EXPECT_NE(std::find(found.begin(), found.end(), "tin els"), found.end());
  EXPECT_EQ(std::find(found.begin(), found.end(), "tin ten"), found.end());
  // A huge blank count asks for no more than the longest word.
  e = BuildAnagramQuery(MakeVectorEnum(words), "?4294967296", nullptr);
  EXPECT_TRUE(ReadAll(e.get()).empty());
}

}  // namespace
}  // namespace vocor
