#include "dictionary/unicode_nfc.h"

#include <gtest/gtest.h>

namespace vocor {
namespace {

// "café" with its last letter precomposed, and spelled e + U+0301.
const std::string kComposed = "caf\xc3\xa9";
const std::string kDecomposed = "cafe\xcc\x81";

TEST(ComposeUtf8Test, ComposesDecomposedLettersOnly) {
  std::string out = "untouched";
  EXPECT_TRUE(ComposeUtf8(kDecomposed + "\nna\xc3\xafve\n", &out));
  EXPECT_EQ(out, kComposed + "\nna\xc3\xafve\n");
  // Nothing to do: the caller keeps its text and makes no copy.
  EXPECT_FALSE(ComposeUtf8("plain ascii\n", &out));
  EXPECT_FALSE(ComposeUtf8(kComposed, &out));
  // Windows-1252 bytes are not UTF-8 and are left for the code page.
  EXPECT_FALSE(ComposeUtf8("caf\xe9", &out));
  EXPECT_EQ(out, kComposed + "\nna\xc3\xafve\n");
}

TEST(ComposeUtf8Test, MarksWithoutPrecomposedFormStay) {
  // q + U+0301 has no precomposed letter; NFC keeps both.
  EXPECT_EQ(ComposedUtf8("q\xcc\x81"), "q\xcc\x81");
  // Two marks on one base, in non-canonical order, are reordered and the
  // one with a precomposed form is absorbed: a + U+0301 + U+0323 is
  // U+1EA1 (a with dot below) + U+0301.
  EXPECT_EQ(ComposedUtf8("a\xcc\x81\xcc\xa3"), "\xe1\xba\xa1\xcc\x81");
}

}  // namespace
}  // namespace vocor
