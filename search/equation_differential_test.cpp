// Word equations against a brute-force solver written here from the
// language's definition: every tuple of words, one per pattern, is tried
// against every way of binding the variables. Over text lists, binary
// files and a set of two lists, read in small slices, cloned and reset.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "dictionary/dictionary_set.h"
#include "dictionary/testing/sample_dics.h"
#include "dictionary/testing/scratch_dir.h"
#include "dictionary/text_file_dictionary.h"
#include "dictionary/vocor_file_dictionary.h"
#include "engine/equation.h"
#include "engine/testing/reference.h"
#include "engine/testing/vector_enum.h"
#include "search/equation_request.h"

namespace vocor {
namespace {

using Words = std::vector<std::string>;

// One item as the generator makes it: a variable ('A'..), possibly
// reversed, or a pattern element written as text ("a", "?", "*", "[ab]").
struct Item {
  char variable = 0;
  bool reversed = false;
  std::string element;
};

struct Constraint {
  char kind;  // '=', '>', '<' (a length) or '!' (distinct)
  char a, b;
  int n;
};

struct RandomEquation {
  std::vector<std::vector<Item>> patterns;
  // Per pattern: a length range ahead of it, or {0, 0} for none.
  std::vector<std::pair<int, int>> ranges;
  std::vector<Constraint> constraints;

  std::string Text() const {
    std::string text;
    for (size_t p = 0; p < patterns.size(); ++p) {
      const auto& pattern = patterns[p];
      if (p > 0) text += ';';
      if (ranges[p].second > 0) {
        text += std::to_string(ranges[p].first) + "-" +
                std::to_string(ranges[p].second) + ":";
      }
      for (const Item& item : pattern) {
        if (item.variable == 0) {
          text += item.element;
        } else {
          text += std::string(item.reversed ? "~" : "") + item.variable;
        }
      }
    }
    for (const Constraint& c : constraints) {
      text += ';';
      if (c.kind == '!') {
        text += std::string(1, c.a) + "!=" + c.b;
      } else {
        text += std::string("|") + c.a + "|" +
                (c.kind == '='   ? "="
                 : c.kind == '>' ? ">="
                                 : "<=") +
                std::to_string(c.n);
      }
    }
    return text;
  }
};

RandomEquation MakeEquation(std::mt19937& rng) {
  RandomEquation e;
  const int variables = 1 + static_cast<int>(rng() % 4);
  const int patterns = 1 + static_cast<int>(rng() % 3);
  std::set<char> used;
  for (int p = 0; p < patterns; ++p) {
    std::vector<Item> pattern;
    const int items = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < items; ++i) {
      Item item;
      const int pick = static_cast<int>(rng() % 10);
      if (pick < 6) {
        item.variable = static_cast<char>('A' + rng() % variables);
        item.reversed = rng() % 4 == 0;
        used.insert(item.variable);
      } else {
        static const char* const kElements[] = {"a", "b", "?", "*", "[ab]"};
        item.element = kElements[rng() % 5];
      }
      pattern.push_back(item);
    }
    e.patterns.push_back(pattern);
    const int low = 1 + static_cast<int>(rng() % 3);
    e.ranges.push_back(rng() % 5 == 0 ? std::make_pair(low, low + 1)
                                      : std::make_pair(0, 0));
  }
  const std::vector<char> vars(used.begin(), used.end());
  const int constraints = vars.empty() ? 0 : static_cast<int>(rng() % 3);
  for (int c = 0; c < constraints; ++c) {
    static const char kKinds[] = {'=', '>', '<', '!'};
    Constraint constraint{kKinds[rng() % 4], vars[rng() % vars.size()],
                          vars[rng() % vars.size()],
                          static_cast<int>(rng() % 4)};
    e.constraints.push_back(constraint);
  }
  return e;
}

// The brute-force solver.
class Reference {
 public:
  explicit Reference(const RandomEquation& e) : e_(e) {}

  Words Solve(const Words& words) {
    Words solutions;
    std::vector<size_t> pick(e_.patterns.size(), 0);
    for (;;) {
      tuple_.clear();
      for (size_t p = 0; p < pick.size(); ++p) tuple_.push_back(words[pick[p]]);
      bindings_.clear();
      if (MatchFrom(0, 0, 0)) {
        std::string line;
        for (size_t p = 0; p < tuple_.size(); ++p) {
          line += (p > 0 ? ";" : "") + tuple_[p];
        }
        solutions.push_back(line);
      }
      size_t p = 0;
      while (p < pick.size() && ++pick[p] == words.size()) pick[p++] = 0;
      if (p == pick.size()) break;
    }
    return solutions;
  }

 private:
  static bool ElementMatches(const std::string& element, char c) {
    if (element == "?") return true;
    if (element == "[ab]") return c == 'a' || c == 'b';
    return element[0] == c;
  }

  bool ConstraintsHold() const {
    for (const Constraint& c : e_.constraints) {
      const std::string& a = bindings_.at(c.a);
      const int n = static_cast<int>(a.size());
      if ((c.kind == '=' && n != c.n) || (c.kind == '>' && n < c.n) ||
          (c.kind == '<' && n > c.n) ||
          (c.kind == '!' && a == bindings_.at(c.b))) {
        return false;
      }
    }
    return true;
  }

  // Whether pattern p from item i, at position pos of its word, and every
  // pattern after it can match with the bindings so far.
  bool MatchFrom(size_t p, size_t i, size_t pos) {
    if (p == e_.patterns.size()) return ConstraintsHold();
    const std::vector<Item>& pattern = e_.patterns[p];
    const std::string& word = tuple_[p];
    if (i == pattern.size()) {
      const auto [low, high] = e_.ranges[p];
      const bool in_range =
          high == 0 || (word.size() >= static_cast<size_t>(low) &&
                        word.size() <= static_cast<size_t>(high));
      return in_range && pos == word.size() && MatchFrom(p + 1, 0, 0);
    }
    const Item& item = pattern[i];
    if (item.variable == 0 && item.element == "*") {
      for (size_t end = pos; end <= word.size(); ++end) {
        if (MatchFrom(p, i + 1, end)) return true;
      }
      return false;
    }
    if (item.variable == 0) {
      return pos < word.size() && ElementMatches(item.element, word[pos]) &&
             MatchFrom(p, i + 1, pos + 1);
    }
    const auto bound = bindings_.find(item.variable);
    if (bound != bindings_.end()) {
      std::string run = bound->second;
      if (item.reversed) std::reverse(run.begin(), run.end());
      return word.compare(pos, run.size(), run) == 0 &&
             MatchFrom(p, i + 1, pos + run.size());
    }
    for (size_t end = pos + 1; end <= word.size(); ++end) {
      std::string run = word.substr(pos, end - pos);
      if (item.reversed) std::reverse(run.begin(), run.end());
      bindings_[item.variable] = run;
      if (MatchFrom(p, i + 1, end)) return true;
    }
    bindings_.erase(item.variable);
    return false;
  }

  const RandomEquation& e_;
  Words tuple_;
  std::map<char, std::string> bindings_;
};

Words Sorted(Words words) {
  std::sort(words.begin(), words.end());
  return words;
}

Words Unique(Words words) {
  words = Sorted(std::move(words));
  words.erase(std::unique(words.begin(), words.end()), words.end());
  return words;
}

std::string Lines(const Words& words) {
  std::string text;
  for (const auto& w : words) text += w + "\n";
  return text;
}

Words Solve(const std::string& equation, const CDictionary* dictionary,
            int slice) {
  SearchRequestResult request =
      BuildEquationRequest(equation, nullptr, dictionary);
  EXPECT_FALSE(request.refused()) << equation << ": " << request.text;
  if (request.refused()) return {};
  Words first = testing::ReadAllInSlices(request.query.get(), slice);
  // Reset and a clone give the same solutions again.
  EnumPtr clone = request.query->Clone();
  EXPECT_EQ(Sorted(testing::ReadAll(clone.get())), Sorted(first)) << equation;
  request.query->Reset();
  EXPECT_EQ(Sorted(testing::ReadAll(request.query.get())), Sorted(first))
      << equation;
  return first;
}

TEST(EquationDifferentialTest, MatchesBruteForceOnTextBinaryAndSets) {
  testing::ScratchDir dir;
  std::mt19937 rng(20261208);
  int solved = 0;
  for (int round = 0; round < 400; ++round) {
    const Words words =
        Unique(testing::RandomWords(rng, "ab", 2 + rng() % 10, 5));
    RandomEquation equation = MakeEquation(rng);
    if (round % 8 == 0) {
      // Shapes that read as palindromes, which come from the palindrome
      // walk: A~A, A?~A, aA~Aa.
      const Item a{'A', false, ""}, reversed{'A', true, ""};
      const Item letter{0, false, "a"}, any{0, false, "?"};
      const std::vector<std::vector<Item>> shapes = {
          {a, reversed}, {a, any, reversed}, {letter, a, reversed, letter}};
      equation.patterns[0] = shapes[round / 8 % 3];
      equation.constraints.clear();  // they may name a variable now gone
    }
    const std::string text = equation.Text();
    const Words expected = Sorted(Reference(equation).Solve(words));
    solved += !expected.empty();

    CDictionaryTextFile list;
    list.SetFileName(dir.Write("list.txt", Lines(words)).c_str());
    ASSERT_TRUE(list.Open());
    EXPECT_EQ(Sorted(Solve(text, &list, 1 + round % 7)), expected) << text;

    CDictionaryVocorFile binary;
    ASSERT_TRUE(
        binary.OpenImage(FileImage::FromBytes(testing::CompileWords(words))));
    EXPECT_EQ(Sorted(Solve(text, &binary, 1 + round % 5)), expected) << text;

    // A set of two overlapping halves: a shared word may give a solution
    // twice; the solutions are the same.
    CDictionarySet set;
    const size_t half = words.size() / 2;
    auto first = std::make_unique<CDictionaryTextFile>();
    first->SetFileName(
        dir.Write("first.txt",
                  Lines(Words(words.begin(), words.begin() + half + 1)))
            .c_str());
    auto second = std::make_unique<CDictionaryVocorFile>();
    ASSERT_TRUE(second->OpenImage(FileImage::FromBytes(
        testing::CompileWords(Words(words.begin() + half, words.end())))));
    ASSERT_TRUE(first->Open());
    set.AdoptMember(std::move(first));
    set.AdoptMember(std::move(second));
    EXPECT_EQ(Unique(Solve(text, &set, 64)), expected) << text;
  }
  // The generator must give equations with solutions, not only empty ones.
  EXPECT_GT(solved, 100);
}

TEST(EquationDifferentialTest, ManyLookupsUseTheWordIndexWithTheSameAnswers) {
  // Enough words that the look-ups outnumber the threshold at which the
  // solver copies the words into its hash set.
  std::mt19937 rng(7);
  const Words words = Unique(testing::RandomWords(rng, "abc", 20000, 9));
  CDictionaryVocorFile binary;
  ASSERT_TRUE(
      binary.OpenImage(FileImage::FromBytes(testing::CompileWords(words))));
  const std::set<std::string> lexicon(words.begin(), words.end());
  Words expected;
  for (const std::string& w : words) {
    for (size_t i = 1; i < w.size(); ++i) {
      if (lexicon.count(w.substr(0, i)) && lexicon.count(w.substr(i))) {
        expected.push_back(w + ";" + w.substr(0, i) + ";" + w.substr(i));
      }
    }
  }
  ASSERT_GT(expected.size(), 1000u);
  EXPECT_EQ(Sorted(Solve("AB;A;B", &binary, 100)), Sorted(expected));

  // Containers, where the prefixes of the words stop lengthening B.
  Words containers;
  for (const std::string& w : words) {
    for (size_t a = 1; a < w.size(); ++a) {
      for (size_t b = 2; a + b < w.size(); ++b) {
        const std::string outer = w.substr(0, a) + w.substr(a + b);
        if (lexicon.count(outer) && lexicon.count(w.substr(a, b))) {
          containers.push_back(w + ";" + outer + ";" + w.substr(a, b));
        }
      }
    }
  }
  ASSERT_GT(containers.size(), 1000u);
  EXPECT_EQ(Sorted(Solve("ABC;AC;B;|B|>=2", &binary, 100)), Unique(containers));
}

}  // namespace
}  // namespace vocor
