// The equation request: what it refuses and where, how typed text becomes
// variables and letters, and how a solution reads in the window.
#include "search/equation_request.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "dictionary/testing/sample_dics.h"
#include "dictionary/vocor_file_dictionary.h"
#include "engine/charset.h"
#include "engine/testing/vector_enum.h"

namespace vocor {
namespace {

// A binary dictionary of `words` (engine text), living until the next call.
CDictionaryVocorFile* Dictionary(std::vector<std::string> words) {
  std::sort(words.begin(), words.end());
  static CDictionaryVocorFile* dictionary = nullptr;
  delete dictionary;
  dictionary = new CDictionaryVocorFile;
  EXPECT_TRUE(dictionary->OpenImage(
      FileImage::FromBytes(testing::CompileWords(words))));
  return dictionary;
}

TEST(EquationRequestTest, MalformedEquationsAreRefusedWithTheirPosition) {
  struct Case {
    const char* equation;
    int position;
    const char* says;
  };
  const Case kCases[] = {
      {"", 1, "empty"},
      {"   ", 1, "empty"},
      {"AB;;A", 3, "empty pattern"},
      {"AB;", 3, "empty pattern"},
      {";A", 1, "empty pattern"},
      {"A[ab", 2, "not closed"},
      {"A{ab;B", 2, "not closed"},
      {"A~", 2, "'~'"},
      {"A~b", 2, "'~'"},
      {"A1B", 2, "'1'"},
      {"A=B", 2, "constraint"},
      {"A|B", 2, "constraint"},
      {"A;|A|=3;B", 9, "after the constraints"},
      {"A;|A|3", 6, "=, >= or <="},
      {"A;|A|>=", 3, "number"},
      {"A;|A>=3", 3, "not closed"},
      {"A;|a|=3", 4, "variable"},
      {"A;|A|=3x", 8, "'x'"},
      {"A;A!B", 4, "'!'"},
      {"A;A!=", 4, "variable"},
      {"A;|B|=2", 4, "B"},
      {"A;A!=C", 6, "C"},
      {"A;A;A;A;A;A;A;A;A", 17, "than 8 patterns"},
      {"3-1:A", 1, "reversed"},
      {"A;5:", 4, "no pattern"},
      {"A:B", 2, "':'"},
      {"A[b-a]", 3, "position 3 is reversed"},
      // Characters count as typed: é is one, whatever its bytes.
      {"\xc3\xa9"
       "A[b",
       3, "not closed"},
      {"e\xcc\x81"
       "A[b",
       3, "not closed"},
  };
  // Long equations: a class of 200,000 letters left open is found, and a
  // pattern of more items than any word has letters is refused.
  std::vector<Case> cases(std::begin(kCases), std::end(kCases));
  const std::string long_class = "A;?[" + std::string(200000, 'a');
  const std::string many_items = "B;A" + std::string(998, 'b') + "c";
  cases.push_back({long_class.c_str(), 4, "position 4 is not closed"});
  cases.push_back({many_items.c_str(), 3, "more than 999"});
  const CDictionary* dictionary = Dictionary({"ab"});
  for (const Case& c : cases) {
    const SearchRequestResult r =
        BuildEquationRequest(c.equation, nullptr, dictionary);
    ASSERT_TRUE(r.refused()) << c.equation;
    EXPECT_EQ(r.position, c.position) << c.equation << ": " << r.text;
    EXPECT_EQ(r.input, 0);
    EXPECT_NE(r.text.find(c.says), std::string::npos)
        << c.equation << ": " << r.text;
  }
}

std::vector<std::string> Solutions(const std::string& equation,
                                   const std::vector<std::string>& words) {
  InputHistory history;
  SearchRequestResult r =
      BuildEquationRequest(equation, &history, Dictionary(words));
  EXPECT_FALSE(r.refused()) << equation << ": " << r.text;
  EXPECT_EQ(history.entries(), std::vector<std::string>{equation});
  if (r.refused()) return {};
  std::vector<std::string> lines = testing::ReadAll(r.query.get());
  std::sort(lines.begin(), lines.end());
  return lines;
}

TEST(EquationRequestTest, ReadsVariablesLettersElementsAndConstraints) {
  const std::vector<std::string> words = {
      "bow",  "brain", "bran",   "evil",   "live", "rain",   "rainbow",
      "stab", "tabs",  "redder", "murmur", "[ab]", "caf\xe9"};
  using Lines = std::vector<std::string>;
  EXPECT_EQ(Solutions("AB;A;B", words), Lines{"rainbow;rain;bow"});
  // Spaces are ignored; upper-case letters inside a class are letters.
  EXPECT_EQ(Solutions(" A B ; A ; B ", words), Lines{"rainbow;rain;bow"});
  EXPECT_EQ(Solutions("A[I]B;AB", words), Lines{"brain;bran"});
  EXPECT_EQ(Solutions("A~A", words), Lines{"redder"});
  EXPECT_EQ(Solutions("AA", words), Lines{"murmur"});
  EXPECT_EQ(Solutions("AB;BA;A!=B", words), (Lines{"stab;tabs", "tabs;stab"}));
  EXPECT_EQ(Solutions("A;~A;|A|>=4;|A|<=4", words),
            (Lines{"evil;live", "live;evil"}));
  EXPECT_EQ(Solutions("A;~A;|A|=4", words), (Lines{"evil;live", "live;evil"}));
  EXPECT_EQ(Solutions("\\[AB\\]", words), Lines{"[ab]"});
  // Typed letters are lower-cased, accented capitals too (they are no
  // variables), and so are capitals inside a piece.
  EXPECT_EQ(Solutions("CAF\xc3\x89", words), Lines{"caf\xe9"});
  EXPECT_EQ(Solutions("c??\xc3\x89", words), Lines{"caf\xe9"});
  EXPECT_EQ(Solutions("{ABIR}?", words), Lines{"brain"});
  EXPECT_EQ(Solutions("{nbar}", words), Lines{"bran"});
  EXPECT_EQ(
      Solutions("4-5:A;B;|B|=3;A!=B", words),
      (Lines{"[ab];bow", "brain;bow", "bran;bow", "caf\xe9;bow", "evil;bow",
             "live;bow", "rain;bow", "stab;bow", "tabs;bow"}));
  // A bound run starting with a digit is letters, not a length range.
  EXPECT_EQ(Solutions("A;A?", {"4", "4x"}), Lines{"4;4x"});
  // A constraint no run can meet: the search runs and finds nothing.
  EXPECT_EQ(Solutions("A;|A|=0", words), Lines{});
  EXPECT_EQ(Solutions("AB;A!=A", words), Lines{});
}

TEST(EquationRequestTest, AnyTextIsRefusedWhereItFailsOrSolved) {
  // Random text from the characters the language gives a meaning: each
  // equation is either refused at a position inside it (or just past its
  // end) or solved to the end, over words that fit many shapes.
  const CDictionary* dictionary =
      Dictionary({"a", "ab", "aba", "abba", "b", "ba", "bab", "[a]", "a:b"});
  const std::string alphabet = "ABC~ab?*[]{}@#|!=<>;:019\\ -^";
  std::mt19937 rng(18);
  int solved = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int length = 1 + static_cast<int>(rng() % 16);
    for (int i = 0; i < length; ++i) text += alphabet[rng() % alphabet.size()];
    SearchRequestResult r = BuildEquationRequest(text, nullptr, dictionary);
    if (r.refused()) {
      EXPECT_GE(r.position, 1) << text;
      EXPECT_LE(r.position, length + 1) << text;
      EXPECT_FALSE(r.text.empty()) << text;
      continue;
    }
    ++solved;
    for (const std::string& line : testing::ReadAllInSlices(r.query.get(), 3)) {
      // A word per pattern; constraints are separated by ';' too.
      EXPECT_LE(std::count(line.begin(), line.end(), ';'),
                std::count(text.begin(), text.end(), ';'))
          << text;
    }
  }
  EXPECT_GT(solved, 100);
}

TEST(EquationRequestTest, SolutionsComeInTheOrderOfASortedListing) {
  // Over a letter tree the solutions come in ascending order of code
  // points (case ignored), although ';' sorts after the apostrophe and
  // hyphen that "aaronson's" and "aaronson-x" go on with.
  const std::vector<std::string> words = {
      "Aaron",     "aaron", "aaron's", "aaronson", "aaronson's", "aaronson-x",
      "aaronsonx", "son",   "son's",   "s",        "x",          "-x",
      "'s",        "on",    "on's",    "sonx"};
  InputHistory history;
  SearchRequestResult r =
      BuildEquationRequest("AB;A;B", &history, Dictionary(words));
  ASSERT_FALSE(r.refused());
  const std::vector<std::string> lines = testing::ReadAll(r.query.get());
  ASSERT_GT(lines.size(), 10u);
  for (size_t i = 1; i < lines.size(); ++i) {
    std::string a = lines[i - 1], b = lines[i];
    EngineLowerInPlace(&a);
    EngineLowerInPlace(&b);
    EXPECT_LT(CompareByCodePoints(a, b), 0) << a << " before " << b;
  }
  // A word with more solutions than are kept back for ordering: they all
  // come, each once.
  std::vector<std::string> many;
  for (int i = 0; i < 70; ++i) many.push_back("w" + std::to_string(100 + i));
  const std::vector<std::string> all = Solutions("A;B;C", many);
  EXPECT_EQ(all.size(), 70u * 70u * 70u);
  EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
}

TEST(EquationRequestTest, SolutionsReadAsSums) {
  EXPECT_EQ(FormatEquationSolution("rainbow;rain;bow"), "rainbow = rain + bow");
  EXPECT_EQ(FormatEquationSolution("evil;live"), "evil = live");
  EXPECT_EQ(FormatEquationSolution("redder"), "redder");
  EXPECT_EQ(FormatEquationSolution("a;b;c;d"), "a = b + c + d");
}

}  // namespace
}  // namespace vocor
