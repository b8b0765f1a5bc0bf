// Scores end to end: a set of a scored text list and a scored binary file
// that share words under different scores, queried at random (single
// words and phrase anagrams), with random minimum scores, read
// alphabetically and best first with random limits. Every result must
// come with the score the brute-force reference gives it (a word: the
// highest its members give; a phrase: its weakest word's), and a limited
// best-first reading must keep exactly the best results.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "dictionary/dictionary_set.h"
#include "dictionary/testing/scratch_dir.h"
#include "dictionary/text_file_dictionary.h"
#include "dictionary/vocor_file_dictionary.h"
#include "dictionary/vocor_file_writer.h"
#include "engine/phrase.h"
#include "engine/ranked.h"
#include "engine/testing/reference.h"
#include "engine/testing/vector_enum.h"
#include "search/result_options.h"
#include "search/results_sink.h"

namespace vocor {
namespace {

using Words = std::vector<std::string>;
using ScoreOf = std::map<std::string, int>;
using Scored = std::vector<std::pair<std::string, int>>;

int RandomScore(std::mt19937& rng) {
  static const int kCommon[] = {20, 30, 40, 50, 60};
  return rng() % 8 == 0 ? 1 + static_cast<int>(rng() % 100)
                        : kCommon[rng() % 5];
}

ScoreOf RandomScoredList(std::mt19937& rng, const Words& words) {
  ScoreOf list;
  for (const auto& word : words) {
    if (rng() % 3 != 0) list[word] = RandomScore(rng);
  }
  if (list.empty()) list[words.front()] = RandomScore(rng);
  return list;
}

// A scored list as crossword constructors write one, with some words
// twice (the highest score counts) and some without a score (50).
std::string ScoredLines(std::mt19937& rng, const ScoreOf& list,
                        ScoreOf* meant) {
  std::string text;
  for (const auto& [word, score] : list) {
    if (score == kDefaultScore && rng() % 2 == 0) {
      text += word + "\n";
    } else {
      text += word + ";" + std::to_string(score) + "\n";
    }
    if (rng() % 5 == 0) text += word + ";" + std::to_string(1 + score / 2) + "\n";
    (*meant)[word] = score;
  }
  return text;
}

std::string ScoredDic(const ScoreOf& list) {
  Words words;
  std::vector<uint8_t> scores;
  for (const auto& [word, score] : list) {
    words.push_back(word);
    scores.push_back(static_cast<uint8_t>(score));
  }
  VocorFileInfo info;
  info.name = "Scored";
  std::string file, error;
  EXPECT_TRUE(BuildVocorFile(words, scores, info, &file, nullptr, &error))
      << error;
  return file;
}

int PhraseScore(const std::string& phrase, const ScoreOf& best) {
  int score = kMaxScore;
  size_t start = 0;
  for (;;) {
    const size_t space = phrase.find(' ', start);
    score = std::min(score, best.at(phrase.substr(start, space - start)));
    if (space == std::string::npos) return score;
    start = space + 1;
  }
}

// The reference's results, each once with its score, at or above `floor`,
// best first.
Scored ExpectedRanking(const Words& results, const ScoreOf& best, int floor) {
  Scored expected;
  for (const std::string& result : std::set<std::string>(results.begin(),
                                                         results.end())) {
    const int score = PhraseScore(result, best);
    if (score >= floor) expected.emplace_back(result, score);
  }
  std::sort(expected.begin(), expected.end(),
            [](const auto& a, const auto& b) {
              return RanksBefore(a.first, a.second, b.first, b.second);
            });
  return expected;
}

// What a results list shows for `query` in `order`.
Scored Shown(EnumPtr query, ResultOrder order) {
  CResultsSinkSorted sink;
  while (const char* word = query->Next(nullptr)) {
    sink.AddResult(word, query->Score());
  }
  Scored shown;
  for (const ScoredView& view : sink.OrderedResults(order)) {
    shown.emplace_back(std::string(view.text), view.score);
  }
  return shown;
}

TEST(ScoreDifferentialTest, SetsOfScoredListsAndFilesAgreeWithTheReference) {
  testing::ScratchDir dir;
  std::mt19937 rng(1607);
  const std::string letters = "aeinst";
  for (int round = 0; round < 250; ++round) {
    const Words vocabulary = testing::RandomWords(rng, letters, 40, 5);
    ScoreOf in_text, in_file;
    const std::string lines =
        ScoredLines(rng, RandomScoredList(rng, vocabulary), &in_text);
    in_file = RandomScoredList(rng, vocabulary);
    ScoreOf best = in_text;
    for (const auto& [word, score] : in_file) {
      best[word] = std::max(best.count(word) ? best[word] : 0, score);
    }
    Words union_words;
    for (const auto& [word, score] : best) union_words.push_back(word);

    auto text = std::make_unique<CDictionaryTextFile>();
    text->SetFileName(dir.Write("list.txt", lines).c_str());
    ASSERT_TRUE(text->Open());
    auto file = std::make_unique<CDictionaryVocorFile>();
    ASSERT_TRUE(file->OpenImage(FileImage::FromBytes(ScoredDic(in_file))));
    const CDictionary* members[] = {text.get(), file.get()};
    const ScoreOf* member_scores[] = {&in_text, &in_file};
    CDictionarySet set;
    set.AdoptMember(std::move(text));
    set.AdoptMember(std::move(file));
    ASSERT_TRUE(set.HasScores());

    // Half the rounds ask for phrases from one member (a phrase over a set
    // may list its words in either member's order), half for any query of
    // the algebra over the set.
    Words results;
    std::function<EnumPtr()> build;
    std::string what;
    if (round % 2 == 0) {
      const int member = static_cast<int>(rng() % 2);
      const CDictionary* source = members[member];
      best = *member_scores[member];
      const int max_words = 1 + static_cast<int>(rng() % 3);
      std::string clue;
      for (int n = 3 + rng() % 4; n > 0; --n) clue += letters[rng() % 6];
      EnumPtr all = source->CreateEnumerator();
      results = testing::RefPhrases(testing::ReadAll(all.get()), clue,
                                    AnyPhraseShape(max_words, 1));
      build = [source, clue, max_words] {
        return BuildAnagramPhraseQuery(source->CreateEnumerator(),
                                       clue.c_str(), nullptr, max_words, 1);
      };
      what = "phrases of " + clue;
    } else {
      const testing::RefQuery query = testing::RandomQuery(rng, letters);
      results = testing::Evaluate(query, union_words);
      build = [&set, query] {
        return testing::Build(query, [&set] { return set.CreateEnumerator(); });
      };
      what = query.ToString();
    }
    const int floor = rng() % 3 == 0 ? 1 : 1 + static_cast<int>(rng() % 70);
    const Scored expected = ExpectedRanking(results, best, floor);

    ResultOptions options;
    options.min_score = floor;
    Scored alphabetical = expected;
    std::sort(alphabetical.begin(), alphabetical.end());
    ASSERT_EQ(Shown(ApplyResultOptions(build(), options),
                    ResultOrder::kAlphabetical),
              alphabetical)
        << what << " floor " << floor;
    ASSERT_EQ(Shown(ApplyResultOptions(build(), options),
                    ResultOrder::kByScore),
              expected)
        << what << " floor " << floor;

    options.order = ResultOrder::kByScore;
    options.keep = rng() % 3 == 0 ? 0 : 1 + static_cast<int>(rng() % 20);
    Scored kept = expected;
    if (options.keep > 0 && static_cast<int>(kept.size()) > options.keep) {
      kept.resize(options.keep);
    }
    EnumPtr ranked = ApplyResultOptions(build(), options);
    const int slice = 1 + static_cast<int>(rng() % 40);
    ASSERT_EQ(testing::ReadScoredInSlices(ranked.get(), slice), kept)
        << what << " floor " << floor << " keep " << options.keep;
  }
}

}  // namespace
}  // namespace vocor
