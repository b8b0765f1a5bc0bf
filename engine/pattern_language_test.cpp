#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "engine/charset.h"
#include "engine/pattern.h"
#include "engine/pattern_automaton.h"
#include "engine/pattern_syntax.h"

namespace vocor {
namespace {

struct Case {
  const char* pattern;
  std::vector<const char*> matching;
  std::vector<const char*> not_matching;
};

TEST(PatternLanguageTest, ElementsMatchWhatTheyDescribe) {
  const std::vector<Case> cases = {
      {"[aeiou]?[^aeiou]??s", {"abcdes", "ozzzzs"}, {"bbcdes", "abedes"}},
      {"[a-c]at", {"bat", "cat"}, {"dat", "at"}},
      {"[!a-c]at", {"rat"}, {"bat", "-at", " at"}},
      {"#@#@#", {"cabin", "ninas", "\xE7\xE9" "b\xE0t"}, {"yacht", "aaaaa"}},
      {"@y", {"ay", "\xE9y", "\x9Cy"}, {"yy", "by"}},
      {"{listen}", {"silent", "enlist", "lisent"}, {"silents", "listed"}},
      {"s{ta?}*", {"stab", "sbatter", "sxat", "stab-", "sabt"}, {"sta", "s-ta"}},
      {"{?a}", {"ab", "ba", "aa"}, {"bb", "a?", "a b"}},
      {"5-7:s*", {"sabcd", "sabcdef"}, {"sabc", "sabcdefg", "tabcd"}},
      {"8-:*ing", {"swimming"}, {"singing", "swimmin"}},
      {"-4:*", {"a", "abcd"}, {"abcde"}},
      {"3:*", {"abc"}, {"ab", "abcd"}},
      {"3-4:* *", {"ab c", "ab cd"}, {"a b", "abc de"}},
      {"\\[a\\]\\@\\#\\{\\}\\:\\\\", {"[a]@#{}:\\"}, {"a"}},
      {"[\\]x]", {"]", "x"}, {"\\"}},
      {"*xz*", {"xz", "axzb", "xzaxz"}, {"xaz", "zx"}},
      {"*{xz}*", {"zx", "axzb", "azxzb"}, {"xaz"}},
      {"[0-9]?", {"1a", "9b"}, {"aa"}},
  };
  for (const Case& c : cases) {
    PatternAutomaton automaton(PatternProgram::Compile(c.pattern));
    for (const char* word : c.matching) {
      EXPECT_TRUE(automaton.Matches(word)) << c.pattern << " " << word;
      EXPECT_TRUE(MatchPattern(word, c.pattern)) << c.pattern << " " << word;
    }
    for (const char* word : c.not_matching) {
      EXPECT_FALSE(automaton.Matches(word)) << c.pattern << " " << word;
    }
  }
}

// Whether `word` from `at` matches elements[e..] with `letters` counted:
// plain backtracking, a piece tried as every way of taking its length.
bool Reference(const PatternProgram& program, const std::string& word,
               size_t at, size_t e, int letters) {
  const auto& elements = program.elements();
  const LengthRange& range = program.range();
  if (e == elements.size()) {
    if (at != word.size()) return false;
    return letters >= range.min &&
           (range.max == kNoMaxLength || letters <= range.max);
  }
  const PatternElement& element = elements[e];
  const auto letter_count = [&](size_t from, size_t n) {
    return static_cast<int>(
        n - std::count(word.begin() + from, word.begin() + from + n, ' '));
  };
  if (element.kind == PatternElement::kStar) {
    for (size_t n = 0; at + n <= word.size(); ++n) {
      if (Reference(program, word, at + n, e + 1,
                    letters + letter_count(at, n))) {
        return true;
      }
    }
    return false;
  }
  const size_t n = element.kind == PatternElement::kPiece ? element.piece.size()
                                                          : 1;
  if (at + n > word.size()) return false;
  if (element.kind == PatternElement::kPiece) {
    std::string taken = word.substr(at, n);
    std::string wanted = element.piece;
    for (char& c : wanted) {
      if (c == '?') continue;
      const size_t i = taken.find(c);
      if (i == std::string::npos) return false;
      taken.erase(i, 1);
    }
    for (char c : taken) {  // what the blanks took must be letters
      if (!IsEngineLetter(static_cast<unsigned char>(c))) return false;
    }
  } else {
    const auto c = static_cast<unsigned char>(word[at]);
    if (element.kind == PatternElement::kByte ? c != element.byte
                                              : !element.set.Contains(c)) {
      return false;
    }
  }
  return Reference(program, word, at + n, e + 1, letters + letter_count(at, n));
}

TEST(PatternLanguageTest, AutomatonAgreesWithBacktrackingOverRandomPatterns) {
  std::mt19937 random(17);
  const std::vector<std::string> parts = {
      "a", "b", "e", "?", "*", "@", "#", "[ab]", "[^a]", "[a-c]", "{ab}",
      "{a?}", "{abb}", " ", "-", "\\:", "[\\-]"};
  const std::string alphabet = "aabbe -:\\";
  for (int trial = 0; trial < 400; ++trial) {
    std::string pattern;
    if (trial % 3 == 0) {
      const int low = static_cast<int>(random() % 4);
      pattern = std::to_string(low) + "-" +
                std::to_string(low + static_cast<int>(random() % 4)) + ":";
    }
    const int n = 1 + static_cast<int>(random() % 6);
    for (int i = 0; i < n; ++i) pattern += parts[random() % parts.size()];
    const auto program = PatternProgram::Compile(pattern.c_str());
    ASSERT_TRUE(program->valid()) << pattern;
    PatternAutomaton automaton(program);  // one cache for every word
    for (int w = 0; w < 200; ++w) {
      std::string word;
      const int length = 1 + static_cast<int>(random() % 7);
      for (int i = 0; i < length; ++i) word += alphabet[random() % alphabet.size()];
      EXPECT_EQ(automaton.Matches(word.c_str()),
                Reference(*program, word, 0, 0, 0))
          << "pattern '" << pattern << "' word '" << word << "'";
    }
  }
}

TEST(PatternLanguageTest, MalformedPatternsAreRefusedWithTheirPosition) {
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"abc[de", "'[' at position 4 is not closed"},
      {"a{bc", "'{' at position 2 is not closed"},
      {"a[]", "the class at position 2 holds no letter"},
      {"[^]", "the class at position 1 holds no letter"},
      {"[e-a]", "the range 'e-a' at position 2 is reversed"},
      {"x{}", "'{}' at position 2 holds no letter"},
      {"ab:c", "':' at position 3 does not end a length range such as 5-7:"},
      {"7-5:*", "the length range '7-5:' at position 1 is reversed"},
      {"a\\b", "'\\' at position 2 must come before one of [ ] @ # { } : \\"},
      {"{a*}", "'*' at position 3 cannot stand inside '{ }'"},
      {"[a b]", "a space at position 3 cannot stand inside '[ ]'"},
      {"ab]", "']' at position 3 has no '[' before it"},
      {"ab\\", "'\\' at position 3 must come before one of [ ] @ # { } : \\"},
  };
  for (const auto& [pattern, message] : cases) {
    PatternError error;
    EXPECT_FALSE(CheckPatternSyntax(pattern, &error)) << pattern;
    EXPECT_EQ(error.message, message);
    // A caller that skips the check gets no literal match either.
    EXPECT_FALSE(PatternProgram::Compile(pattern)->valid()) << pattern;
    EXPECT_FALSE(MatchPattern(pattern, pattern)) << pattern;
  }
  for (const char* good : {"3,4", "5-7:s*", "[a-]?", "{?\\:}", "6:", ".2*"}) {
    EXPECT_TRUE(CheckPatternSyntax(good, nullptr)) << good;
  }
}

TEST(PatternLanguageTest, LengthNotationLeavesElementsAlone) {
  std::string out;
  LengthSpecToPattern("5-7:[0-9]2{a3}\\:,3", out);
  EXPECT_EQ(out, "5-7:[0-9]??{a3}\\: ???");
  EXPECT_EQ(CollapseWildcardRuns("2-:*?*[?*]{??}"), "2-:?*[?*]{??}");
  EXPECT_TRUE(PatternExceedsLimits(("{" + std::string(1000, 'a') + "}").c_str()));
  EXPECT_FALSE(PatternExceedsLimits("[abc]{abc}"));
  EXPECT_EQ(PatternMinLetters("[abc]{d\\:} ?*"), 4);
  EXPECT_EQ(PatternMinLetters("5-7:s*"), 5);
}

TEST(PatternLanguageTest, CompatibilityAndSelectivityKnowTheNewElements) {
  EXPECT_TRUE(PatternsCompatible("[a-c]*", "b?"));
  EXPECT_FALSE(PatternsCompatible("[a-c]*", "d?"));
  EXPECT_FALSE(PatternsCompatible("@*", "#*"));
  EXPECT_FALSE(PatternsCompatible("5-7:*", "-4:*"));
  EXPECT_TRUE(PatternsCompatible("{ab}", "b?"));
  EXPECT_FALSE(PatternsCompatible("{ab}", "c?"));
  // A class is as selective as a letter.
  EXPECT_EQ(ComparePatternSpecificity("[ab]?c", "x?c"), 0);
  EXPECT_LT(ComparePatternSpecificity("@#@", "a??"), 0);
  int stars, questions;
  CountWildcards("[*?]{?}?*", stars, questions);
  EXPECT_EQ(stars, 1);
  EXPECT_EQ(questions, 1);
}

TEST(PatternLanguageTest, StatesTellWhatTheWalkMayTakeAtOnce) {
  PatternAutomaton automaton(PatternProgram::Compile("4-:s{ab}*"));
  int state = automaton.start();
  EXPECT_EQ(automaton.OnlyByte(state), 's');
  EXPECT_EQ(automaton.MinCharactersLeft(state), 4);
  state = automaton.Step(state, 's');
  EXPECT_EQ(automaton.OnlyByte(state), -1);
  EXPECT_EQ(automaton.MinCharactersLeft(state), 3);
  EXPECT_EQ(automaton.Step(state, 'c'), PatternAutomaton::kDead);
  state = automaton.Step(automaton.Step(state, 'b'), 'a');
  EXPECT_FALSE(automaton.AcceptsEverything(state));  // one letter short
  state = automaton.Step(state, 'x');
  EXPECT_TRUE(automaton.AcceptsEverything(state));
  EXPECT_EQ(automaton.MinCharactersLeft(state), 0);
  PatternAutomaton exact(PatternProgram::Compile("ab"));
  const int end = exact.Step(exact.Step(exact.start(), 'a'), 'b');
  EXPECT_TRUE(exact.IsAccepting(end));
  EXPECT_FALSE(exact.CanContinue(end));
}

TEST(PatternLanguageTest, LongPatternsStayCheap) {
  std::string pattern;
  for (int i = 0; i < 200; ++i) pattern += "*[a-m]{ab?}@";
  PatternAutomaton automaton(PatternProgram::Compile(pattern.c_str()));
  EXPECT_FALSE(automaton.Matches(std::string(60, 'a').c_str()));
  EXPECT_LT(automaton.state_count(), 10000);
}

}  // namespace
}  // namespace vocor
