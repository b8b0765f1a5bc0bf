#include "engine/ranked.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/testing/vector_enum.h"

namespace vocor {
namespace {

using testing::MakeScoredVectorEnum;
using Scored = std::vector<std::pair<std::string, int>>;

Scored RandomScoredWords(std::mt19937* random, int count) {
  std::map<std::string, int> words;
  std::uniform_int_distribution<int> length(1, 4), letter('a', 'd');
  // Few distinct scores, as real lists have, plus the odd stray one.
  const int common[] = {20, 30, 40, 50, 60};
  while (static_cast<int>(words.size()) < count) {
    std::string word;
    for (int n = length(*random); n > 0; --n) {
      word.push_back(static_cast<char>(letter(*random)));
    }
    const int score = (*random)() % 10 == 0 ? 1 + (*random)() % 100
                                             : common[(*random)() % 5];
    words.emplace(word, score);
  }
  return Scored(words.begin(), words.end());
}

// Everything `query` yields, each result once with its highest score, in
// rank order: what a best-first reading must agree with.
Scored BruteForceRanking(CEnumResults* query) {
  std::map<std::string, int> best;
  while (const char* word = query->Next(nullptr)) {
    int& score = best.try_emplace(word, 0).first->second;
    score = std::max(score, query->Score());
  }
  Scored all(best.begin(), best.end());
  std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
    return RanksBefore(a.first, a.second, b.first, b.second);
  });
  return all;
}

// A set of two scored lists sharing words (each with its own score), or
// a phrase-like product of them, with an optional floor.
EnumPtr RandomQuery(std::mt19937* random, bool phrases, int floor,
                    int size = 30) {
  const Scored a = RandomScoredWords(random, size);
  Scored b = RandomScoredWords(random, size);
  b.insert(b.end(), a.begin(), a.begin() + 10);  // repeats, other scores
  for (auto& [word, score] : b) score = 1 + (score * 7) % 100;
  std::sort(b.begin(), b.end());
  b.erase(std::unique(b.begin(), b.end(),
                      [](const auto& x, const auto& y) {
                        return x.first == y.first;
                      }),
          b.end());
  EnumPtr query = MakeScoredVectorEnum(a);
  if (phrases) {
    query = query->CrossProduct(std::move(query), MakeScoredVectorEnum(b));
  } else {
    query = query->Merge(std::move(query), MakeScoredVectorEnum(b));
  }
  return query->MinScore(std::move(query), floor);
}

TEST(RankedTest, BestFirstReadingAgreesWithSortingEverything) {
  std::mt19937 random(16);
  for (int round = 0; round < 200; ++round) {
    const bool phrases = round % 2 == 1;
    const int floor = round % 3 == 0 ? 1 : 1 + static_cast<int>(random() % 60);
    const int keep = round % 4 == 0 ? 0 : 1 + static_cast<int>(random() % 300);
    const int slice = 1 + static_cast<int>(random() % 50);
    // Some rounds hold far more results than they keep, so that levels
    // are pruned while they are read.
    const int size = round % 10 == 9 ? 150 : 30;
    EnumPtr query = RandomQuery(&random, phrases, floor, size);
    EnumPtr reference = query->Clone();
    Scored expected = BruteForceRanking(reference.get());
    if (keep > 0 && static_cast<int>(expected.size()) > keep) {
      expected.resize(keep);
    }
    CEnumResultsRanked ranked(std::move(query), keep);
    EXPECT_EQ(testing::ReadScoredInSlices(&ranked, slice), expected)
        << "round " << round << " floor " << floor << " keep " << keep;
    // A reset reading gives the same again, and so does a clone.
    ranked.Reset();
    EXPECT_EQ(testing::ReadScoredInSlices(&ranked, slice), expected);
    EnumPtr copy = ranked.Clone();
    EXPECT_EQ(testing::ReadScoredInSlices(copy.get(), 1000), expected);
  }
}

TEST(RankedTest, ProgressClimbsToTheEndAcrossLevels) {
  std::mt19937 random(7);
  CEnumResultsRanked ranked(RandomQuery(&random, true, 1), 0);
  int last = ranked.GetPosition();
  int counter;
  do {
    counter = 3;
    ranked.Next(&counter);
    EXPECT_GE(ranked.GetPosition(), last);
    EXPECT_LE(ranked.GetPosition(), ranked.GetExtent());
    last = ranked.GetPosition();
  } while (ranked.GetPosition() < ranked.GetExtent());
  EXPECT_EQ(ranked.Next(nullptr), nullptr);
}

TEST(RankedTest, PhraseLevelsFollowTheScoresAndEndAtTheBottom) {
  ScoreCounts counts{};
  counts[60] = 100;
  counts[50] = 150;
  counts[40] = 100;
  counts[20] = 1000;
  counts[3] = 1;
  EXPECT_EQ(CEnumResultsRanked::PlanFloors(counts, true),
            (std::vector<int>{60, 50, 40, 20, 1}));
  // Many distinct scores are grouped, each level at least doubling the
  // words read.
  ScoreCounts spread{};
  for (int s = 1; s <= 100; ++s) spread[s] = 10;
  EXPECT_EQ(CEnumResultsRanked::PlanFloors(spread, true),
            (std::vector<int>{100, 99, 97, 93, 85, 69, 37, 1}));
  EXPECT_EQ(CEnumResultsRanked::PlanFloors(counts, false),
            (std::vector<int>{1}));
  EXPECT_EQ(CEnumResultsRanked::PlanFloors(ScoreCounts{}, true),
            (std::vector<int>{1}));
}

}  // namespace
}  // namespace vocor
