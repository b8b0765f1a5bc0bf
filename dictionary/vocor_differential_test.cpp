// Every random query over a random word list, built on the binary
// dictionary compiled from that list, yields the words the brute-force
// reference yields on the list, and the same as the text list itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "dictionary/testing/sample_dics.h"
#include "dictionary/testing/scratch_dir.h"
#include "dictionary/text_file_dictionary.h"
#include "dictionary/vocor_file_dictionary.h"
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
