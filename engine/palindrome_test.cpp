#include "engine/palindrome.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/testing/vector_enum.h"

namespace vocor {
namespace {

using testing::MakeVectorEnum;
using testing::ReadAll;
using Words = std::vector<std::string>;

Words Survivors(const Words& words, int mode, int form) {
  CEnumResultsPalindrome p(MakeVectorEnum(words), mode, form);
  return ReadAll(&p);
}

TEST(TransformWordTest, ModesAndRefusals) {
  char out[16];
  ASSERT_TRUE(TransformWord(kReverse, "it's-a", out));
  EXPECT_STREQ(out, "a-s'ti");
  ASSERT_TRUE(TransformWord(kReflectV, "mow", out));
  EXPECT_STREQ(out, "wom");
  ASSERT_TRUE(TransformWord(kRotate, "swims", out));
  EXPECT_STREQ(out, "swims");
  EXPECT_FALSE(TransformWord(kRotate, "sun", out));
  EXPECT_FALSE(TransformWord(kReflectH, "bob", out));
  EXPECT_FALSE(TransformWord(kReflectH, "Mom", out));
  EXPECT_FALSE(TransformWord(kReflectV, "o-o", out));
  EXPECT_FALSE(TransformWord(4, "a", out));
  EXPECT_FALSE(TransformWord(-1, "a", out));
}

TEST(TransformWordTest, ReadsAsItselfAgreesWithTransforming) {
  std::mt19937 rng(5);
  const std::string letters = "abhimnostuvwxz'-";
  char out[16];
  for (int i = 0; i < 20000; ++i) {
    std::string w;
    for (int k = 1 + rng() % 5; k > 0; --k)
      w += letters[rng() % 4 + (rng() % 2) * 8];
    const int mode = rng() % 5;
    const bool expected = TransformWord(mode, w.c_str(), out) && w == out;
    ASSERT_EQ(ReadsAsItself(mode, w.c_str()), expected) << mode << " " << w;
  }
}

TEST(PalindromeTest, SameWord) {
  EXPECT_EQ(Survivors({"level", "noon", "a", "stop"}, kReverse, kSameWord),
            (Words{"level", "noon", "a"}));
  EXPECT_EQ(Survivors({"mom", "wow", "toot", "bob"}, kReflectH, kSameWord),
            (Words{"mom", "wow", "toot"}));
  EXPECT_EQ(Survivors({"box", "hide", "code", "mow"}, kReflectV, kSameWord),
            (Words{"box", "hide", "code"}));
  EXPECT_EQ(Survivors({"noon", "sos", "swims", "sun"}, kRotate, kSameWord),
            (Words{"noon", "sos", "swims"}));
  EXPECT_TRUE(Survivors({"level"}, 7, kSameWord).empty());
}

TEST(PalindromeTest, AnotherWordReturnsTheChildsWord) {
  EXPECT_EQ(
      Survivors({"stop", "pots", "level", "spot"}, kReverse, kAnotherWord),
      (Words{"stop", "pots", "level"}));
  EXPECT_EQ(Survivors({"mow", "wom"}, kReflectV, kAnotherWord),
            (Words{"mow", "wom"}));
  EXPECT_TRUE(Survivors({"mow"}, kReflectV, kAnotherWord).empty());
}

TEST(PalindromeTest, DescribeCloneAndContains) {
  CEnumResultsPalindrome p(MakeVectorEnum({"stop", "pots", "noon"}), kReverse,
                           kAnotherWord);
  EXPECT_EQ(p.Describe(1), "\tPalindrome(0,1)\n\t\tVector(\"words\")\n");
  EXPECT_TRUE(p.Contains("stop"));
  EXPECT_FALSE(p.Contains("spot"));
  p.Next(nullptr);
  EnumPtr copy = p.Clone();
  EXPECT_EQ(ReadAll(copy.get()), (Words{"stop", "pots", "noon"}));
  EXPECT_EQ(ReadAll(&p), (Words{"pots", "noon"}));

  CEnumResultsPalindrome same(MakeVectorEnum({"noon", "stop"}), kReverse,
                              kSameWord);
  EXPECT_TRUE(same.Contains("noon"));
  EXPECT_FALSE(same.Contains("stop"));
  EXPECT_FALSE(same.Contains("abba"));  // a palindrome, but not a word here
}

}  // namespace
}  // namespace vocor
