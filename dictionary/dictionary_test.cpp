#include "dictionary/dictionary.h"

#include <gtest/gtest.h>

#include "dictionary/text_file_dictionary.h"

namespace vocor {
namespace {

TEST(DictionaryIdTest, IdsAreHandedOutInOrderAndFreedOnDestruction) {
  const int first = CDictionary::NextId();
  auto a = std::make_unique<CDictionaryTextFile>();
  auto b = std::make_unique<CDictionaryTextFile>();
  EXPECT_EQ(a->id(), first);
  EXPECT_EQ(b->id(), first + 1);
  EXPECT_EQ(CDictionary::FindById(first), a.get());
  auto clone = a->Clone();
  EXPECT_EQ(clone->id(), first + 2);
  a.reset();
  EXPECT_EQ(CDictionary::FindById(first), nullptr);
  EXPECT_EQ(CDictionary::FindById(first + 2), clone.get());
}

TEST(FormatTest, Sizes) {
  EXPECT_EQ(FormatSize(0), "0 bytes");
  EXPECT_EQ(FormatSize(1023), "1023 bytes");
  EXPECT_EQ(FormatSize(1024), "1.0 Kb");
  EXPECT_EQ(FormatSize(1536), "1.5 Kb");
  EXPECT_EQ(FormatSize(1048575), "1024.0 Kb");
  EXPECT_EQ(FormatSize(1048576), "1.0 Mb");
  EXPECT_EQ(FormatSize(5242880), "5.0 Mb");
}

TEST(FormatTest, Counts) {
  EXPECT_EQ(FormatCount(0), "0");
  EXPECT_EQ(FormatCount(12), "12");
  EXPECT_EQ(FormatCount(999), "999");
  EXPECT_EQ(FormatCount(1000), "1,000");
  EXPECT_EQ(FormatCount(123456), "123,456");
  EXPECT_EQ(FormatCount(1234567), "1,234,567");
  EXPECT_EQ(FormatCount(2147483647), "2,147,483,647");
  EXPECT_EQ(FormatCount(-123), "-123");
  EXPECT_EQ(FormatCount(-1234), "-1,234");
}

}  // namespace
}  // namespace vocor
