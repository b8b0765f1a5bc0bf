// Every random query over a random word list, built on the binary
// dictionary compiled from that list, yields the words the brute-force
// reference yields on the list, and the same as the text list itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "dictionary/testing/sample_dics.h"
#include "dictionary/testing/scratch_dir.h"
#include "dictionary/text_file_dictionary.h"
#include "dictionary/vocor_file_dictionary.h"
#include "engine/pattern_automaton.h"
#include "engine/testing/reference.h"
#include "engine/testing/vector_enum.h"

namespace vocor {
namespace {

using testing::ReadAll;
using testing::ReadAllInSlices;
using Words = std::vector<std::string>;

Words Sorted(Words words) {
  std::sort(words.begin(), words.end());
  return words;
}

// A pattern with several stars can match one word in several ways, and the
// walk yields it once per way (the results list keeps one), so results are
// compared as sets.
std::set<std::string> AsSet(const Words& words) {
  return std::set<std::string>(words.begin(), words.end());
}

std::string Lines(const Words& words) {
  std::string text;
  for (const auto& w : words) text += w + "\n";
  return text;
}

// Random lists of words over `letters`, random queries over the wider
// `alphabet` (engine text), `rounds` times.
void CompareOnRandomLists(unsigned seed, const std::string& letters,
                          const std::string& alphabet, int rounds) {
  testing::ScratchDir dir;
  std::mt19937 rng(seed);
  for (int round = 0; round < rounds; ++round) {
    Words words = testing::RandomWords(rng, letters, 1 + rng() % 30, 5);
    CDictionaryTextFile text;
    // Text lists are read as Windows-1252 unless they are valid UTF-8;
    // with no byte of 0x80-0xBF among the letters, no UTF-8 sequence can
    // form.
    text.SetFileName(dir.Write("list.txt", Lines(words)).c_str());
    ASSERT_TRUE(text.Open());
    CDictionaryVocorFile dict;
    ASSERT_TRUE(
        dict.OpenImage(FileImage::FromBytes(testing::CompileWords(words))));
    // The binary file holds each word once, in alphabetical order.
    Words stored = Sorted(words);
    stored.erase(std::unique(stored.begin(), stored.end()), stored.end());

    const testing::RefQuery query = testing::RandomQuery(rng, alphabet);
    const Words expected = testing::Evaluate(query, stored);
    EnumPtr tree =
        testing::Build(query, [&dict] { return dict.CreateEnumerator(); });
    EnumPtr copy = tree->Clone();
    const Words found = ReadAll(tree.get());
    ASSERT_EQ(AsSet(found), AsSet(expected)) << query.ToString();
    ASSERT_EQ(ReadAllInSlices(copy.get(), 1 + rng() % 3), found)
        << query.ToString();
    ASSERT_LE(tree->GetPosition(), tree->GetExtent());

    EnumPtr on_text =
        testing::Build(query, [&text] { return text.CreateEnumerator(); });
    const Words from_text = ReadAll(on_text.get());
    ASSERT_EQ(AsSet(found), AsSet(from_text)) << query.ToString();

    const std::set<std::string> set = AsSet(expected);
    for (const auto& probe : testing::RandomWords(rng, letters, 4, 5)) {
      ASSERT_EQ(tree->Contains(probe.c_str()), set.count(probe) > 0)
          << query.ToString() << " contains " << probe;
    }
    for (const auto& word : found) {
      ASSERT_TRUE(tree->Contains(word.c_str()))
          << query.ToString() << " contains " << word;
    }
  }
}

TEST(VocorDifferentialTest, RandomQueriesOnRandomLists) {
  CompareOnRandomLists(2718, "aeiost", "abeilnost", 700);
}

// Letters of the code page's upper half are stored as they are, and the
// walk must count, match and skip them like any letter: é, ø, ÿ, ß, å.
TEST(VocorDifferentialTest, AccentedLettersAreLettersLikeAnyOther) {
  const std::string accented = "\xe9\xf8\xff\xdf\xe5";
  CompareOnRandomLists(1414, "aes" + accented, "aest" + accented, 300);
}

}  // namespace
}  // namespace vocor

namespace vocor {
namespace {

// Patterns whose last '*' is followed by letters only let the walk skip
// subtrees without such an ending; the words found must not change, nor
// when a later, more selective pattern replaces the ending.
TEST(VocorDifferentialTest, PatternsEndingInLettersAfterAStar) {
  std::mt19937 rng(31);
  const std::string letters = "abst";
  for (int round = 0; round < 400; ++round) {
    const Words words = testing::RandomWords(rng, letters, 1 + rng() % 40, 6);
    CDictionaryVocorFile dict;
    ASSERT_TRUE(
        dict.OpenImage(FileImage::FromBytes(testing::CompileWords(words))));
    std::string pattern = rng() % 2 ? std::string(1, letters[rng() % 4]) : "";
    pattern += rng() % 3 ? "*" : "*?*";
    for (int k = 1 + rng() % 3; k > 0; --k) pattern += letters[rng() % 4];
    Words expected;
    for (const auto& w : words) {
      if (testing::RefMatch(w, pattern)) expected.push_back(w);
    }
    EnumPtr e = dict.CreateEnumerator();
    e = e->Pattern(std::move(e), pattern.c_str());
    ASSERT_EQ(AsSet(ReadAll(e.get())), AsSet(expected)) << pattern;
  }
}

TEST(VocorDifferentialTest, AReplacedEndingIsJudgedAfresh) {
  CDictionaryVocorFile dict;
  ASSERT_TRUE(
      dict.OpenImage(FileImage::FromBytes(testing::CompileWords({"xqab"}))));
  EnumPtr e = dict.CreateEnumerator();
  e = e->Pattern(std::move(e), "*ab");  // nothing below xqa ends in ab
  EXPECT_EQ(AsSet(ReadAll(e.get())), AsSet({"xqab"}));
  // More selective: the reader takes it, "*ab" moves to a node above, and
  // below xqa the new ending b is found.
  e = e->Pattern(std::move(e), "xq*b");
  EXPECT_EQ(AsSet(ReadAll(e.get())), AsSet({"xqab"}));
}

}  // namespace
}  // namespace vocor

namespace vocor {
namespace {

using ScoredWords = std::set<std::pair<std::string, int>>;

// A pattern of up to six characters over `alphabet`, '?' and '*'.
std::string RandomPattern(std::mt19937& rng, const std::string& alphabet) {
  const std::string symbols = alphabet + "??**";
  std::string pattern;
  for (int n = 1 + rng() % 6; n > 0; --n) {
    pattern += symbols[rng() % symbols.size()];
  }
  return pattern;
}

// Up to `most` letters drawn from `alphabet`.
std::string RandomLetters(std::mt19937& rng, const std::string& alphabet,
                          int most) {
  std::string text;
  for (int n = rng() % (most + 1); n > 0; --n) {
    text += alphabet[rng() % alphabet.size()];
  }
  return text;
}

// Reads `e` in slices of `slice` units, pairing each word with Score().
ScoredWords ReadScored(CEnumResults* e, int slice) {
  const auto found = testing::ReadScoredInSlices(e, slice);
  return ScoredWords(found.begin(), found.end());
}

// Random scored lists (a word may come twice, keeping its higher score),
// random patterns, letter constraints and floors: the (word, score) pairs
// the file yields are those of the list that pass, and CountScores is the
// histogram of the list from the floor up.
TEST(VocorDifferentialTest, ScoredWordsUnderRandomPatternsLettersAndFloors) {
  std::mt19937 rng(4242);
  const std::string letters = "aeiost";
  for (int round = 0; round < 800; ++round) {
    const Words words = testing::RandomWords(rng, letters, 1 + rng() % 40, 6);
    std::vector<uint8_t> scores;
    std::map<std::string, int> best;
    for (const auto& word : words) {
      // Few distinct scores in some rounds, so that floors split ties.
      const int score = round % 2 ? 1 + rng() % 100 : 40 + 10 * (rng() % 3);
      scores.push_back(static_cast<uint8_t>(score));
      best[word] = std::max(best[word], score);
    }
    CDictionaryVocorFile dict;
    ASSERT_TRUE(dict.OpenImage(
        FileImage::FromBytes(testing::CompileScoredWords(words, scores))));
    ASSERT_TRUE(dict.HasScores());

    const std::string pattern =
        rng() % 4 == 0 ? "*" : RandomPattern(rng, letters + "b");
    const bool has_min = rng() % 3 == 0, has_max = rng() % 3 == 0;
    const std::string min_text = RandomLetters(rng, letters, 2);
    // The engine refuses a required letter that the maximum (blanks aside)
    // does not allow, a query the reference would still try to answer.
    const std::string max_text =
        RandomLetters(rng, letters + "?", 6) + (has_min ? min_text : "");
    const int floor = static_cast<int>(rng() % 103);
    const char* min_part = has_min ? min_text.c_str() : nullptr;
    const char* max_part = has_max ? max_text.c_str() : nullptr;
    const std::string query =
        "pattern " + pattern + " min " + (has_min ? min_text : "-") + " max " +
        (has_max ? max_text : "-") + " floor " + std::to_string(floor);

    ScoredWords expected;
    ScoreCounts expected_counts{};
    for (const auto& [word, score] : best) {
      if (score >= floor) expected_counts[score] += 1;
      if (score >= floor && testing::RefMatch(word, pattern) &&
          testing::RefAcceptsLetters(word, min_part, max_part)) {
        expected.emplace(word, score);
      }
    }

    EnumPtr e = dict.CreateEnumerator();
    const bool floor_first = rng() % 2 == 0;
    if (floor_first) e = e->MinScore(std::move(e), floor);
    e = e->Pattern(std::move(e), pattern.c_str());
    if (has_min || has_max) {
      e = e->Letters(std::move(e), CLetterConstraint(min_part, max_part));
    }
    if (!floor_first) e = e->MinScore(std::move(e), floor);
    if (floor > kMaxScore) {
      ASSERT_TRUE(IsNone(e.get())) << query;
      continue;
    }
    EnumPtr copy = e->Clone();
    ASSERT_EQ(ReadScored(e.get(), 1 + rng() % 5), expected) << query;
    ASSERT_EQ(ReadScored(copy.get(), 1000), expected) << query;
    if (!IsNone(e.get())) {
      ScoreCounts counts{};
      e->CountScores(&counts);
      ASSERT_EQ(counts, expected_counts) << query;
    }
    ASSERT_FALSE(dict.DamageSeen()) << query;
  }
}

// A list without scores reads as it always did: every word at the default
// score, and a floor above it leaves nothing.
TEST(VocorDifferentialTest, UnscoredFilesScoreEveryWordAtTheDefault) {
  std::mt19937 rng(77);
  for (int round = 0; round < 100; ++round) {
    const Words words = testing::RandomWords(rng, "abst", 1 + rng() % 30, 5);
    CDictionaryVocorFile dict;
    ASSERT_TRUE(
        dict.OpenImage(FileImage::FromBytes(testing::CompileWords(words))));
    EXPECT_FALSE(dict.HasScores());
    const std::string pattern = RandomPattern(rng, "abst");
    EnumPtr e = dict.CreateEnumerator();
    e = e->Pattern(std::move(e), pattern.c_str());
    e = e->MinScore(std::move(e), kDefaultScore);
    ScoredWords expected;
    for (const auto& word : words) {
      if (testing::RefMatch(word, pattern)) expected.emplace(word, 50);
    }
    ASSERT_EQ(ReadScored(e.get(), 7), expected) << pattern;
    ScoreCounts counts{};
    e->CountScores(&counts);
    ASSERT_EQ(counts[kDefaultScore], dict.GetWordCount());

    EnumPtr above = dict.CreateEnumerator();
    above = above->MinScore(std::move(above), kDefaultScore + 1);
    ASSERT_TRUE(IsNone(above.get()));
  }
}

}  // namespace
}  // namespace vocor

namespace vocor {
namespace {

// One element of the pattern language over `letters`.
std::string RandomElement(std::mt19937& rng, const std::string& letters) {
  const auto letter = [&] { return letters[rng() % letters.size()]; };
  switch (rng() % 12) {
    case 0:
    case 1:
      return "*";
    case 2:
      return "?";
    case 3:
      return "@";
    case 4:
      return "#";
    case 5:
      return std::string("[") + letter() + letter() + "]";
    case 6:
      return std::string(rng() % 2 ? "[^" : "[!") + letter() + "]";
    case 7:
      return "[a-i]";
    case 8: {
      std::string piece = "{";
      for (int n = 1 + rng() % 3; n > 0; --n) {
        piece += rng() % 4 == 0 ? '?' : letter();
      }
      return piece + "}";
    }
    default:
      return std::string(1, letter());
  }
}

// A pattern of up to five elements, sometimes behind a length range.
std::string RandomRichPattern(std::mt19937& rng, const std::string& letters) {
  std::string pattern;
  switch (rng() % 6) {
    case 0:
      pattern = std::to_string(1 + rng() % 4) + "-" +
                std::to_string(2 + rng() % 5) + ":";
      break;
    case 1:
      pattern = std::to_string(1 + rng() % 6) + ":";
      break;
    case 2:
      pattern = rng() % 2 ? "-" + std::to_string(2 + rng() % 4) + ":"
                          : std::to_string(1 + rng() % 4) + "-:";
      break;
    default:
      break;
  }
  for (int n = 1 + rng() % 5; n > 0; --n) {
    pattern += RandomElement(rng, letters);
  }
  return pattern;
}

// No constraint, one that keeps no count along a path (letters left out,
// as --without gives), or one that counts (a minimum part, a bounded
// maximum).
CLetterConstraint RandomConstraint(std::mt19937& rng,
                                   const std::string& letters,
                                   std::string* text) {
  const std::string some(1, letters[rng() % letters.size()]);
  switch (rng() % 5) {
    case 0: {
      std::string allowed;
      for (char c : letters) {
        if (c != some[0]) allowed += std::string(1, c) + "*";
      }
      *text = "without " + some;
      return CLetterConstraint(nullptr, allowed.c_str());
    }
    case 1:
      *text = "with " + some;
      return CLetterConstraint(some.c_str(), nullptr);
    case 2:
      *text = "at most " + some + some + "???";
      return CLetterConstraint(nullptr, (some + some + "???").c_str());
    default:
      *text = "none";
      return CLetterConstraint();
  }
}

// Random lists, some with scores, under random patterns of the whole
// language, letter constraints and floors, read in random slices: the
// reader yields, in the list's order, exactly the stored words that the
// automaton matches and the constraint and floor accept, each with its
// own score; its position ends at the word count; a second walk of the
// same reader (its memo of dead pairs kept) and a clone yield the same;
// Contains agrees.
// Pieces after stars over long words: the walk's automaton grows past the
// size at which states are held to what the longest word below allows.
TEST(VocorDifferentialTest, PiecesAfterStarsOverLongWords) {
  std::mt19937 rng(1213);
  const std::string letters = "abcdefgh";
  const char* patterns[] = {"*{abcdefg?}*", "*{aabbccdd}*", "*{abcd}*{efgh}*",
                            "*{abcdefgh}*a", "3-20:*{??????????}*[^a]"};
  for (int round = 0; round < 40; ++round) {
    const Words words = testing::RandomWords(rng, letters, 400, 26);
    CDictionaryVocorFile dict;
    ASSERT_TRUE(dict.OpenImage(
        FileImage::FromBytes(testing::CompileScoredWords(words, {}))));
    for (const char* pattern : patterns) {
      PatternAutomaton automaton(PatternProgram::Compile(pattern));
      std::vector<std::string> expected;
      for (const std::string& word : std::set<std::string>(words.begin(),
                                                           words.end())) {
        if (automaton.Matches(word.c_str())) expected.push_back(word);
      }
      EnumPtr e = dict.CreateEnumerator();
      e = e->Pattern(std::move(e), pattern);
      std::vector<std::string> found;
      while (const char* word = e->Next(nullptr)) found.push_back(word);
      ASSERT_EQ(found, expected) << pattern << " round " << round;
    }
  }
}

TEST(VocorDifferentialTest, RichPatternsInWalkOrderInSlices) {
  std::mt19937 rng(8086);
  const std::string letters = "aeinost\xe9";
  for (int round = 0; round < 4000; ++round) {
    Words words = testing::RandomWords(rng, letters, 1 + rng() % 60, 7);
    const bool scored = round % 2 == 0;
    std::vector<uint8_t> scores;
    std::map<std::string, int> best;
    for (const auto& word : words) {
      const int score = scored ? 1 + static_cast<int>(rng() % 100) : 50;
      if (scored) scores.push_back(static_cast<uint8_t>(score));
      best[word] = std::max(best[word], score);
    }
    CDictionaryVocorFile dict;
    ASSERT_TRUE(dict.OpenImage(
        FileImage::FromBytes(testing::CompileScoredWords(words, scores))));

    const std::string pattern = RandomRichPattern(rng, letters);
    std::string constraint_text;
    const CLetterConstraint constraint =
        RandomConstraint(rng, letters, &constraint_text);
    const int floor = scored && rng() % 2 ? 1 + rng() % 100 : kMinScore;
    const std::string query = "pattern " + pattern + " letters " +
                              constraint_text + " floor " +
                              std::to_string(floor);

    PatternAutomaton automaton(PatternProgram::Compile(pattern.c_str()));
    std::vector<std::pair<std::string, int>> expected;
    for (const auto& [word, score] : best) {  // byte order: walk order
      if (automaton.Matches(word.c_str()) && constraint.Accepts(word.c_str()) &&
          score >= floor) {
        expected.emplace_back(word, score);
      }
    }

    EnumPtr e = dict.CreateEnumerator();
    e = e->Pattern(std::move(e), pattern.c_str());
    if (constraint.HasAnyPart()) e = e->Letters(std::move(e), constraint);
    e = e->MinScore(std::move(e), floor);
    if (IsNone(e.get())) {
      ASSERT_TRUE(expected.empty()) << query;
      continue;
    }
    EnumPtr clone = e->Clone();
    std::vector<std::pair<std::string, int>> found;
    int last_position = 0;
    for (;;) {
      int counter = 1 + static_cast<int>(rng() % 6);
      const char* word = e->Next(&counter);
      ASSERT_GE(e->GetPosition(), last_position) << query;
      last_position = e->GetPosition();
      if (word != nullptr) {
        found.emplace_back(word, e->Score());
      } else if (counter != 0) {
        break;
      }
    }
    ASSERT_EQ(found, expected) << query;
    ASSERT_EQ(e->GetPosition(), static_cast<int>(best.size())) << query;

    e->Reset();
    ASSERT_EQ(testing::ReadScoredInSlices(e.get(), 1 + rng() % 3), expected)
        << query << " (walked again)";
    ASSERT_EQ(testing::ReadScoredInSlices(clone.get(), 1000), expected)
        << query << " (clone)";
    for (const auto& [word, score] : best) {
      const bool in = std::find(expected.begin(), expected.end(),
                                std::make_pair(word, score)) != expected.end();
      // Contains judges pattern and letters, not the floor.
      if (score >= floor) {
        ASSERT_EQ(e->Contains(word.c_str()), in) << query << " " << word;
      }
    }
    ASSERT_FALSE(dict.DamageSeen()) << query;
  }
}

}  // namespace
}  // namespace vocor
