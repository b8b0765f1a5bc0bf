// Rewriting defaults, the empty enumerator, the parent bases and the work
// counter protocol.
#include "engine/enum_results.h"

#include <gtest/gtest.h>

#include "engine/letters.h"
#include "engine/merge.h"
#include "engine/pattern.h"
#include "engine/testing/vector_enum.h"

namespace vocor {
namespace {

using testing::MakeVectorEnum;
using testing::ReadAll;
using testing::ReadAllInSlices;

// Counts live instances so tests can see that consumed nodes are freed.
class Tracked final : public CEnumResults {
 public:
  explicit Tracked(int* live) : live_(live) { ++*live_; }
  ~Tracked() override { --*live_; }
  EnumPtr Clone() const override { return std::make_unique<Tracked>(live_); }
  std::string Describe(int indent) const override {
    return DescribeIndent(indent) + "Tracked\n";
  }
  const char* Next(int*) override { return nullptr; }
  int GetPosition() const override { return 0; }
  int GetExtent() const override { return 7; }

 private:
  int* live_;
};

TEST(DefaultRewritingTest, EmptyPatternCollapsesAndFreesTheNode) {
  int live = 0;
  EnumPtr e = std::make_unique<Tracked>(&live);
  e = e->Pattern(std::move(e), "");
  EXPECT_TRUE(IsNone(e.get()));
  EXPECT_EQ(live, 0);
}

TEST(DefaultRewritingTest, StarOnlyPatternsAndEmptyConstraintsChangeNothing) {
  int live = 0;
  EnumPtr e = std::make_unique<Tracked>(&live);
  CEnumResults* original = e.get();
  e = e->Pattern(std::move(e), "*");
  e = e->Pattern(std::move(e), "***");
  e = e->Letters(std::move(e), CLetterConstraint(nullptr, nullptr));
  e = e->Letters(std::move(e), CLetterConstraint("", nullptr));
  EXPECT_EQ(e.get(), original);
}

TEST(DefaultRewritingTest, ConstraintsWrapInFilterNodes) {
  EnumPtr e = MakeVectorEnum({"cat"});
  e = e->Pattern(std::move(e), "c?t");
  EXPECT_NE(dynamic_cast<CEnumResultsPattern*>(e.get()), nullptr);
  e = e->Letters(std::move(e), CLetterConstraint(nullptr, "act"));
  EXPECT_NE(dynamic_cast<CEnumResultsLetters*>(e.get()), nullptr);
  e = e->Letters(std::move(e), CLetterConstraint(nullptr, ""));
  EXPECT_TRUE(IsNone(e.get()));
}

TEST(DefaultRewritingTest, DemergeWithEmptyReturnsThis) {
  int live = 0;
  EnumPtr e = std::make_unique<Tracked>(&live);
  CEnumResults* original = e.get();
  e = e->Demerge(std::move(e), std::make_unique<CEnumResultsNone>());
  EXPECT_EQ(e.get(), original);
  e = e->Demerge(std::move(e), std::make_unique<Tracked>(&live));
  EXPECT_NE(dynamic_cast<CEnumResultsDemerge*>(e.get()), nullptr);
  EXPECT_EQ(live, 2);
  e.reset();
  EXPECT_EQ(live, 0);
}

TEST(DefaultRewritingTest, ContainsReadsTheWordAsAPattern) {
  EnumPtr e = MakeVectorEnum({"abc", "dog"});
  EXPECT_TRUE(e->Contains("abc"));
  EXPECT_TRUE(e->Contains("a?c"));
  EXPECT_TRUE(e->Contains("d*"));
  EXPECT_FALSE(e->Contains("ab"));
  EXPECT_FALSE(e->Contains(""));
  // The position is untouched.
  EXPECT_STREQ(e->Next(nullptr), "abc");
}

TEST(NoneTest, AbsorbsOrYieldsAsTheAlgebraDemands) {
  int live = 0;
  EnumPtr none = std::make_unique<CEnumResultsNone>();
  EnumPtr x = std::make_unique<Tracked>(&live);
  CEnumResults* x_raw = x.get();
  EnumPtr merged = none->Merge(std::move(none), std::move(x));
  EXPECT_EQ(merged.get(), x_raw);

  none = std::make_unique<CEnumResultsNone>();
  EnumPtr product =
      none->CrossProduct(std::move(none), std::make_unique<Tracked>(&live));
  EXPECT_TRUE(IsNone(product.get()));
  none = std::make_unique<CEnumResultsNone>();
  EnumPtr excluded =
      none->Demerge(std::move(none), std::make_unique<Tracked>(&live));
  EXPECT_TRUE(IsNone(excluded.get()));
  EXPECT_EQ(live, 1);  // only the merged x survives
}

TEST(NoneTest, ReadsAsEmpty) {
  CEnumResultsNone none;
  int counter = 5;
  EXPECT_EQ(none.Next(&counter), nullptr);
  EXPECT_EQ(counter, 5);
  EXPECT_EQ(none.GetPosition(), 0);
  EXPECT_EQ(none.GetExtent(), 1);
  EXPECT_EQ(none.Describe(2), "\t\tNone\n");
  EXPECT_FALSE(none.Contains("a"));
}

TEST(WorkCounterTest, FilterSuspendsWhenTheCounterRunsOutOnARejectedWord) {
  EnumPtr e = MakeVectorEnum({"dog", "cat"});
  e = e->Pattern(std::move(e), "c?t");
  int counter = 1;
  EXPECT_EQ(e->Next(&counter), nullptr);
  EXPECT_EQ(counter, 0);
  counter = 1;
  EXPECT_STREQ(e->Next(&counter), "cat");
  counter = 1;
  EXPECT_EQ(e->Next(&counter), nullptr);
  EXPECT_EQ(counter, 1);  // exhausted, not suspended
}

TEST(WorkCounterTest, SlicedReadingYieldsTheSameWordsAsAnUnlimitedRead) {
  const std::vector<std::string> words = {"ab", "cd", "ab", "ef", "ba"};
  for (int cost : {1, 2, 3}) {
    EnumPtr a = MakeVectorEnum(words, cost);
    a = a->Pattern(std::move(a), "?b*");
    EnumPtr b = a->Clone();
    int suspensions = 0;
    EXPECT_EQ(ReadAllInSlices(a.get(), 1, &suspensions), ReadAll(b.get()));
    EXPECT_GT(suspensions, 0);
  }
}

TEST(CloneAndResetTest, CloneStartsAtTheFirstWordAndResetRewinds) {
  EnumPtr e = MakeVectorEnum({"a", "b", "c"});
  e = e->Pattern(std::move(e), "?");
  e->Next(nullptr);
  EnumPtr copy = e->Clone();
  EXPECT_EQ(ReadAll(copy.get()), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(ReadAll(e.get()), (std::vector<std::string>{"b", "c"}));
  e->Reset();
  EXPECT_EQ(ReadAll(e.get()).size(), 3u);
}

}  // namespace
}  // namespace vocor
