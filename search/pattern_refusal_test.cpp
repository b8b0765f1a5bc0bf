// Malformed patterns are refused with the problem and its position, and
// no text at all, however garbled, crashes the checker, the compiler or a
// walk, or makes a refused pattern match anything.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "dictionary/testing/sample_dics.h"
#include "dictionary/vocor_file_dictionary.h"
#include "engine/pattern_automaton.h"
#include "engine/pattern_syntax.h"
#include "engine/testing/vector_enum.h"

namespace vocor {
namespace {

struct Malformed {
  const char* pattern;
  int position;      // 1-based
  const char* word;  // a word the message names the problem with
};

TEST(PatternRefusalTest, MalformedPatternsNameTheProblemAndItsPosition) {
  const Malformed cases[] = {
      // Classes and pieces never closed.
      {"ab[cd", 3, "not closed"},
      {"[a-e]x[", 7, "not closed"},
      {"s{ta", 2, "not closed"},
      // Classes and pieces of nothing.
      {"a[]b", 2, "no letter"},
      {"a[^]b", 2, "no letter"},
      {"[!]", 1, "no letter"},
      {"x{}", 2, "no letter"},
      // ':' only ends a length range, and only one, with a bound.
      {"ab:c", 3, "length range"},
      {":abc", 1, "length range"},
      {"5-7:ab:", 7, "length range"},
      {"-:a", 2, "length range"},
      {"5-7:5-7:a", 8, "length range"},
      // '\' only before a special character.
      {"\\?x", 1, "must come before"},
      {"ab\\", 3, "must come before"},
      // Stars and spaces have no place in a piece or a class.
      {"{a*b}", 3, "'*'"},
      {"[a b]", 3, "space"},
      {"{a b}", 3, "space"},
  };
  for (const Malformed& c : cases) {
    PatternError error;
    EXPECT_FALSE(CheckPatternSyntax(c.pattern, &error)) << c.pattern;
    EXPECT_EQ(error.position, c.position) << c.pattern << ": " << error.message;
    EXPECT_NE(error.message.find("position " + std::to_string(error.position)),
              std::string::npos)
        << c.pattern << ": " << error.message;
    EXPECT_NE(error.message.find(c.word), std::string::npos)
        << c.pattern << ": " << error.message;
  }
}

// Where the fault is a pair of bounds, the position falls on the pair.
TEST(PatternRefusalTest, ReversedBoundsAreRefusedWhereTheyStand) {
  const struct {
    const char* pattern;
    int first, last;  // the span of the reversed pair, 1-based
  } cases[] = {
      {"[e-a]", 2, 4},
      {"xy[abz-c]", 6, 8},
      {"7-5:abc", 1, 3},
      {"12-3:*", 1, 4},
  };
  for (const auto& c : cases) {
    PatternError error;
    EXPECT_FALSE(CheckPatternSyntax(c.pattern, &error)) << c.pattern;
    EXPECT_GE(error.position, c.first) << c.pattern << ": " << error.message;
    EXPECT_LE(error.position, c.last) << c.pattern << ": " << error.message;
    EXPECT_NE(error.message.find("reversed"), std::string::npos)
        << c.pattern << ": " << error.message;
    EXPECT_NE(error.message.find("position " + std::to_string(error.position)),
              std::string::npos)
        << c.pattern << ": " << error.message;
  }
}

TEST(PatternRefusalTest, WellFormedPatternsPass) {
  for (const char* pattern :
       {"[aeiou]?[^aeiou]??s", "#@#@#@#", "5-7:s*", "8-:*ing", "-4:*",
        "6:", "{listen}", "s{ta?}*", "\\[\\]\\@\\#\\{\\}\\:\\\\", "[\\]\\[]x",
        "[!a-e]*", "*{xz}*", "\xe9[\xe0-\xff]"}) {
    PatternError error;
    EXPECT_TRUE(CheckPatternSyntax(pattern, &error))
        << pattern << ": " << error.message << " at " << error.position;
    EXPECT_EQ(error.position, 0) << pattern;
    EXPECT_TRUE(PatternProgram::Compile(pattern)->valid()) << pattern;
  }
}

// Bytes of every kind, the special characters and digits much more often
// than the rest, up to `most` of them.
std::string RandomText(std::mt19937& rng, int most) {
  static const std::string kOften = "[]^!-@#{}:\\?* 0123456789,.ae";
  std::string text;
  for (int n = static_cast<int>(rng() % (most + 1)); n > 0; --n) {
    const unsigned byte =
        rng() % 3 ? static_cast<unsigned char>(kOften[rng() % kOften.size()])
                  : 1 + rng() % 255;
    text += static_cast<char>(byte);
  }
  return text;
}

TEST(PatternRefusalTest, GarbledTextNeverCrashesAndRefusedTextMatchesNothing) {
  std::mt19937 rng(404);
  const std::vector<std::string> words = {"a",  "ae", "e-a", "[a]",      "a:b",
                                          "{}", "\\", "#@",  "\xe9t\xe9"};
  CDictionaryVocorFile dic;
  ASSERT_TRUE(
      dic.OpenImage(FileImage::FromBytes(testing::CompileWords(words))));
  for (int round = 0; round < 4000; ++round) {
    const std::string text = RandomText(rng, round % 10 == 0 ? 1000 : 12);
    PatternError error;
    const bool well_formed = CheckPatternSyntax(text.c_str(), &error);
    EXPECT_EQ(well_formed, error.position == 0) << text;
    if (!well_formed) {
      EXPECT_GE(error.position, 1) << text;
      EXPECT_LE(error.position, static_cast<int>(text.size()) + 1) << text;
      EXPECT_FALSE(error.message.empty()) << text;
    }

    // Element by element, the text is read to its end, each step forward.
    for (size_t i = 0; i < text.size();) {
      const size_t next = SkipPatternElement(text.c_str(), i);
      ASSERT_GT(next, i) << text;
      ASSERT_LE(next, text.size()) << text;
      i = next;
    }

    LengthRange range;
    const size_t taken = ReadLengthRange(text.c_str(), &range);
    EXPECT_LE(taken, text.size());
    if (taken > 0) {
      LengthRange again;
      const std::string formatted = FormatLengthRange(range);
      EXPECT_EQ(ReadLengthRange(formatted.c_str(), &again), formatted.size());
      EXPECT_EQ(again.min, range.min) << text;
      EXPECT_EQ(again.max, range.max) << text;
    }

    const auto program = PatternProgram::Compile(text.c_str());
    if (!well_formed) {
      EXPECT_FALSE(program->valid()) << text;
    }
    PatternAutomaton automaton(program);
    for (const auto& word : words) {
      if (!well_formed) {
        EXPECT_FALSE(automaton.Matches(word.c_str())) << text;
      }
    }
    EnumPtr e = dic.CreateEnumerator();
    e = e->Pattern(std::move(e), text.c_str());
    const auto found = testing::ReadAllInSlices(e.get(), 1 + rng() % 20);
    std::set<std::string> matching;
    for (const auto& word : words) {
      if (automaton.Matches(word.c_str())) matching.insert(word);
    }
    EXPECT_EQ(std::set<std::string>(found.begin(), found.end()), matching)
        << text;
    if (HasFailure()) return;
  }
}

}  // namespace
}  // namespace vocor
