#include "dictionary/accent_fold.h"

#include <gtest/gtest.h>

#include <utility>

#include "engine/charset.h"

namespace vocor {
namespace {

std::string Fold(std::string_view utf8) {
  std::string folded;
  if (!FoldToAscii(Utf8ToEngine(utf8), &folded)) return "<no fold>";
  return folded;
}

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

TEST(AccentFoldTest, EveryHighLetterHasAnAsciiSpellingAndNothingElseDoes) {
  for (int c = 0x80; c <= 0xFF; ++c) {
    const std::string_view fold = AsciiFoldOf(static_cast<unsigned char>(c));
    SCOPED_TRACE(c);
    EXPECT_EQ(!fold.empty(), IsEngineLetter(static_cast<unsigned char>(c)));
    EXPECT_LE(fold.size(), 2u);
    for (char f : fold) EXPECT_TRUE(IsAsciiLetter(f));
  }
}

TEST(AccentFoldTest, CapitalAndSmallLetterFoldAlike) {
  for (int c = 0x80; c <= 0xFF; ++c) {
    const auto upper = static_cast<unsigned char>(c);
    const unsigned char lower = EngineToLower(upper);
    if (lower == upper) continue;
    SCOPED_TRACE(c);
    std::string folded_upper(AsciiFoldOf(upper));
    EngineLowerInPlace(&folded_upper);
    EXPECT_EQ(folded_upper, AsciiFoldOf(lower));
  }
}

TEST(AccentFoldTest, AsciiStaysAsItIs) {
  for (int c = 0; c < 0x80; ++c) {
    const std::string_view fold = AsciiFoldOf(static_cast<unsigned char>(c));
    ASSERT_EQ(fold.size(), 1u);
    EXPECT_EQ(fold[0], static_cast<char>(c));
  }
  EXPECT_EQ(Fold("rock'n'roll-ish"), "rock'n'roll-ish");
}

TEST(AccentFoldTest, Words) {
  const std::pair<const char*, const char*> cases[] = {
      {"café", "cafe"},
      {"naïve", "naive"},
      {"straße", "strasse"},
      {"æther", "aether"},
      {"œuvre", "oeuvre"},
      {"smørrebrød", "smorrebrod"},
      {"þorn", "thorn"},
      {"ðe", "de"},
      {"Ångström", "Angstrom"},
      {"škoda", "skoda"},
      {"ÆÞ", "AETH"},
      {"", ""},
      // Symbols have no spelling.
      {"5×5", "<no fold>"},
      {"€uro", "<no fold>"},
      {"«x»", "<no fold>"},
  };
  for (const auto& [word, folded] : cases) EXPECT_EQ(Fold(word), folded);
  EXPECT_TRUE(AsciiFoldOf(0x81).empty());  // unassigned in the code page
}

}  // namespace
}  // namespace vocor
