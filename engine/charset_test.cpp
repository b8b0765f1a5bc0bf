#include "engine/charset.h"

#include <gtest/gtest.h>

namespace vocor {
namespace {

TEST(CharsetTest, LettersAndCaseOfTheCodePage) {
  int letters = 0;
  for (int c = 0; c < 256; ++c) letters += IsEngineLetter(c);
  // 52 ASCII, 8 in 0x80-0x9F, 3 in 0xA0-0xBF, 62 in 0xC0-0xFF.
  EXPECT_EQ(letters, 125);
  EXPECT_FALSE(IsEngineLetter('\''));
  EXPECT_FALSE(IsEngineLetter(0xD7));
  EXPECT_FALSE(IsEngineLetter(0xA0));
  EXPECT_EQ(EngineToLower('Q'), 'q');
  EXPECT_EQ(EngineToLower(0xC9), 0xE9);  // E acute
  EXPECT_EQ(EngineToLower(0x8A), 0x9A);  // S caron
  EXPECT_EQ(EngineToLower(0x9F), 0xFF);  // Y diaeresis
  EXPECT_EQ(EngineToLower(0xDF), 0xDF);  // sharp s has no capital here
  EXPECT_EQ(EngineToLower(0xD7), 0xD7);
  // Every lower-case image is a letter exactly when the byte is.
  for (int c = 0; c < 256; ++c) {
    EXPECT_EQ(IsEngineLetter(c), IsEngineLetter(EngineToLower(c))) << c;
  }
}

TEST(CharsetTest, Utf8RoundTripAndUnmappable) {
  const std::string utf8 = "caf\xc3\xa9 \xe2\x82\xac \xc5\x93uvre";
  const std::string engine = Utf8ToEngine(utf8);
  EXPECT_EQ(engine, "caf\xe9 \x80 \x9cuvre");
  EXPECT_EQ(EngineToUtf8(engine), utf8);
  EXPECT_EQ(Utf8ToEngine("\xce\xb1"), "\x7f");  // Greek alpha
  for (int c = 0; c < 256; ++c) {
    const std::string one(1, static_cast<char>(c));
    const uint32_t cp = EngineToUnicode(c);
    if (UnicodeToEngine(cp) == c) {
      EXPECT_EQ(Utf8ToEngine(EngineToUtf8(one)), one);
    }
  }
}

TEST(CharsetTest, Utf8Validation) {
  EXPECT_TRUE(IsValidUtf8("plain"));
  EXPECT_TRUE(IsValidUtf8("\xef\xbb\xbf\xc3\xa9"));
  EXPECT_FALSE(IsValidUtf8("caf\xe9"));           // Windows-1252 e acute
  EXPECT_FALSE(IsValidUtf8("\xc0\xaf"));          // overlong slash
  EXPECT_FALSE(IsValidUtf8("\xed\xa0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xf4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xe2\x82"));          // cut short
}

// The code-point order of engine text is the byte order of its UTF-8,
// for every pair of bytes, alone and after a common prefix.
TEST(CharsetTest, CodePointOrderIsTheOrderOfTheUtf8) {
  auto sign = [](int x) { return (x > 0) - (x < 0); };
  for (int a = 1; a < 256; ++a) {
    for (int b = 1; b < 256; ++b) {
      const std::string x = "c" + std::string(1, static_cast<char>(a));
      const std::string y = "c" + std::string(1, static_cast<char>(b)) + "d";
      const int utf8 = EngineToUtf8(x).compare(EngineToUtf8(y));
      ASSERT_EQ(sign(CompareByCodePoints(x, y)), sign(utf8)) << a << " " << b;
      ASSERT_EQ(HasBytesOf80To9F(x), a >= 0x80 && a <= 0x9F);
    }
  }
  EXPECT_EQ(CompareByCodePoints("ab", "ab"), 0);
  EXPECT_LT(CompareByCodePoints("c\xe9", "c\x9c"), 0);  // é before œ
}

}  // namespace
}  // namespace vocor
