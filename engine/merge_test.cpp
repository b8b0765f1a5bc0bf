#include "engine/merge.h"

#include <gtest/gtest.h>

#include "engine/letters.h"
#include "engine/testing/vector_enum.h"

namespace vocor {
namespace {

using testing::MakeVectorEnum;
using testing::ReadAll;
using Words = std::vector<std::string>;

EnumPtr Union(EnumPtr a, EnumPtr b) {
  return a->Merge(std::move(a), std::move(b));
}

TEST(MergeTest, ConcatenatesInMergeOrderAndKeepsDuplicates) {
  EnumPtr u = Union(MakeVectorEnum({"a", "b"}), MakeVectorEnum({"b", "c"}));
  u = u->Merge(std::move(u), std::make_unique<CEnumResultsNone>());
  EXPECT_EQ(ReadAll(u.get()), (Words{"a", "b", "b", "c"}));
  EXPECT_TRUE(u->Contains("c"));
  EXPECT_FALSE(u->Contains("d"));
}

TEST(MergeTest, EmptyWithXIsX) {
  EnumPtr x = MakeVectorEnum({"a"});
  CEnumResults* raw = x.get();
  EnumPtr none = std::make_unique<CEnumResultsNone>();
  EXPECT_EQ(Union(std::move(none), std::move(x)).get(), raw);
}

TEST(MergeTest, FlattensAUnionArgument) {
  EnumPtr c =
      Union(MakeVectorEnum({"c"}, 1, "c"), MakeVectorEnum({"d"}, 1, "d"));
  EnumPtr ab =
      Union(MakeVectorEnum({"a"}, 1, "a"), MakeVectorEnum({"b"}, 1, "b"));
  c = Union(std::move(c), std::move(ab));
  auto* merged = dynamic_cast<CEnumResultsMerge*>(c.get());
  ASSERT_NE(merged, nullptr);
  EXPECT_EQ(merged->child_count(), 4);
  EXPECT_EQ(c->Describe(0),
            "Merge\n\tVector(\"c\")\n\tVector(\"d\")\n\tVector(\"a\")\n"
            "\tVector(\"b\")\n");
  EXPECT_EQ(c->GetExtent(), 4);
}

TEST(MergeTest, ConstraintsDistributeAndEmptyChildrenAreDropped) {
  EnumPtr u = Union(MakeVectorEnum({"x", "y"}), MakeVectorEnum({"cat", "cot"}));
  u = Union(std::move(u), MakeVectorEnum({"z"}));
  u = u->Pattern(std::move(u), "c?t");
  // Vector leaves absorb nothing, so each child got its own filter.
  EXPECT_EQ(ReadAll(u.get()), (Words{"cat", "cot"}));
  u = u->Letters(std::move(u), CLetterConstraint(nullptr, ""));
  EXPECT_TRUE(IsNone(u.get()));

  EnumPtr v = Union(MakeVectorEnum({"a"}), MakeVectorEnum({"b"}));
  v = v->Pattern(std::move(v), "");
  EXPECT_TRUE(IsNone(v.get()));
}

// A leaf that turns empty under any pattern, like a dictionary reader that
// proves a pattern unmatchable.
class ProvablyEmpty final : public CEnumResults {
 public:
  explicit ProvablyEmpty(int extent) : extent_(extent) {}
  EnumPtr Clone() const override {
    return std::make_unique<ProvablyEmpty>(extent_);
  }
  std::string Describe(int) const override { return "Empty\n"; }
  EnumPtr Pattern(EnumPtr, const char*) override {
    return std::make_unique<CEnumResultsNone>();
  }
  const char* Next(int*) override { return nullptr; }
  int GetPosition() const override { return 0; }
  int GetExtent() const override { return extent_; }

 private:
  int extent_;
};

TEST(MergeTest, ExtentFollowsTheChildrenLeft) {
  EnumPtr u = Union(std::make_unique<ProvablyEmpty>(10),
                    MakeVectorEnum({"ab", "cd", "ef"}));
  u = Union(std::move(u), std::make_unique<ProvablyEmpty>(20));
  EXPECT_EQ(u->GetExtent(), 33);
  u = u->Pattern(std::move(u), "??");
  EXPECT_EQ(u->GetExtent(), 3);
  EXPECT_EQ(u->Describe(0).substr(0, 6), "Merge\n");

  EnumPtr all_empty = Union(std::make_unique<ProvablyEmpty>(1),
                            std::make_unique<ProvablyEmpty>(2));
  all_empty = all_empty->Pattern(std::move(all_empty), "a");
  EXPECT_TRUE(IsNone(all_empty.get()));
}

TEST(MergeTest, SuspensionContinuesInTheSameChild) {
  EnumPtr u = Union(MakeVectorEnum({"a"}, 1), MakeVectorEnum({"b", "c"}, 2));
  u = Union(std::move(u), MakeVectorEnum({"d"}, 1));
  int counter = 2;
  EXPECT_STREQ(u->Next(&counter), "a");
  EXPECT_EQ(u->Next(&counter), nullptr);  // one unit into "b"
  EXPECT_EQ(counter, 0);
  counter = 1;
  EXPECT_STREQ(u->Next(&counter), "b");
  counter = 10;
  EXPECT_STREQ(u->Next(&counter), "c");
  EXPECT_STREQ(u->Next(&counter), "d");
}

TEST(MergeTest, PositionAddsFinishedExtents) {
  std::vector<std::string> hundred(100, "w"), fifty(50, "v");
  EnumPtr u = Union(MakeVectorEnum(hundred), MakeVectorEnum(fifty));
  for (int i = 0; i < 120; ++i) ASSERT_NE(u->Next(nullptr), nullptr);
  EXPECT_EQ(u->GetPosition(), 120);
  EXPECT_EQ(u->GetExtent(), 150);
  ReadAll(u.get());
  EXPECT_EQ(u->GetPosition(), 150);
  u->Reset();
  EXPECT_EQ(u->GetPosition(), 0);
  EXPECT_EQ(ReadAll(u.get()).size(), 150u);
}

TEST(DemergeTest, ExcludesWhatTheSecondContains) {
  const Words words = {"cat", "dog", "cow"};
  EnumPtr d = MakeVectorEnum(words);
  EnumPtr second = d->Clone();
  second = second->Pattern(std::move(second), "c*");
  d = d->Demerge(std::move(d), std::move(second));
  EXPECT_EQ(d->Describe(0),
            "Demerge\n\tVector(\"words\")\n\tPattern(\"c*\")\n"
            "\t\tVector(\"words\")\n");
  EXPECT_EQ(ReadAll(d.get()), (Words{"dog"}));
  EXPECT_TRUE(d->Contains("dog"));
  EXPECT_FALSE(d->Contains("cat"));

  EnumPtr self = MakeVectorEnum(words);
  EnumPtr clone = self->Clone();
  self = self->Demerge(std::move(self), std::move(clone));
  EXPECT_TRUE(ReadAll(self.get()).empty());
  EXPECT_FALSE(self->Contains("dog"));
  // A further pattern wraps the exclusion.
  self = self->Pattern(std::move(self), "d*");
  EXPECT_EQ(self->Describe(0).substr(0, 14), "Pattern(\"d*\")\n");
}

}  // namespace
}  // namespace vocor
