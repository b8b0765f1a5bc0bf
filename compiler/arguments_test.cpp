#include "compiler/arguments.h"

#include <gtest/gtest.h>

namespace vocor {
namespace {

constexpr int32_t kBad = -12345;

int32_t Version(const char* text) {
  int32_t hundredths = kBad;
  return ParseDictionaryVersion(text, &hundredths) ? hundredths : kBad;
}

int64_t Language(const char* text) {
  uint32_t lcid = 0;
  return ParseLanguageId(text, &lcid) ? int64_t{lcid} : kBad;
}

TEST(ArgumentsTest, DictionaryVersions) {
  EXPECT_EQ(Version("1.50"), 150);
  EXPECT_EQ(Version("1.5"), 150);
  EXPECT_EQ(Version("1.05"), 105);
  EXPECT_EQ(Version("2"), 200);
  EXPECT_EQ(Version("0.00"), 0);
  EXPECT_EQ(Version("007.1"), 710);
  EXPECT_EQ(Version("21474836.47"), 2147483647);
  for (const char* bad :
       {"", ".", "1.", ".5", "1.500", "1.2.3", "-1.00", "+1", "1,50", " 1",
        "1 ", "0x10", "21474836.48", "21474837", "99999999999999999999"}) {
    EXPECT_EQ(Version(bad), kBad) << bad;
  }
}

TEST(ArgumentsTest, LanguageIds) {
  EXPECT_EQ(Language("1033"), 1033);
  EXPECT_EQ(Language("0"), 0);
  EXPECT_EQ(Language("0x0809"), 2057);
  EXPECT_EQ(Language("0XfFfF"), 0xFFFF);
  EXPECT_EQ(Language("4294967295"), 4294967295);
  EXPECT_EQ(Language("0xFFFFFFFF"), 4294967295);
  for (const char* bad : {"", "0x", "x10", "-1", "+1", "10a", "0x1g",
                          "4294967296", "0x100000000", " 1033", "0x-1"}) {
    EXPECT_EQ(Language(bad), kBad) << bad;
  }
}

TEST(ArgumentsTest, ScoredLists) {
  std::string path;
  int score = 0;
  ASSERT_TRUE(ParseScoredList("lists/a=b.txt=100", &path, &score));
  EXPECT_EQ(path, "lists/a=b.txt");  // the last '=' splits
  EXPECT_EQ(score, 100);
  ASSERT_TRUE(ParseScoredList("small=007", &path, &score));
  EXPECT_EQ(score, 7);
  for (const char* bad : {"", "small", "=5", "small=", "small=0", "small=101",
                          "small=-1", "small=+1", "small= 5", "small=5a",
                          "small=99999999999999999999"}) {
    EXPECT_FALSE(ParseScoredList(bad, &path, &score)) << bad;
  }
}

}  // namespace
}  // namespace vocor
