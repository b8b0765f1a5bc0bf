// Best-first reading: the results of a query ordered by score, so that a
// search that stops after its first N results keeps the N best, not the N
// the walk met first.
//
// Order: highest score first; among equal scores fewer words first; then
// ascending code points (the alphabetical order of the results list).
//
// A query whose results are single words is read once and sorted: its
// results never outnumber the dictionary's words. A phrase query can have
// far more results than fit in memory, so it is read in levels from the
// top down: level k is a clone of the query restricted by MinScore to a
// floor, and yields (sorted) the results under the floor of level k - 1.
// Floors are planned from the source's score counts: each distinct score
// is a level when there are few (lists that come in sizes), otherwise
// scores are grouped so that each level holds at least about twice the
// words of the one above. Phrases grow much faster than their words, so
// the cost of all levels stays a small multiple of reading the lowest one,
// and a phrase search with a limit usually ends in an early, small level.
// With `keep` set, a level holds at most the results it may still yield.
#ifndef VOCOR_ENGINE_RANKED_H_
#define VOCOR_ENGINE_RANKED_H_

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/enum_results.h"

namespace vocor {

class CEnumResultsRanked final : public CEnumResultsParent1 {
 public:
  // Takes the query. At most `keep` distinct results (case ignored) are
  // yielded; 0 yields all. Every result comes once, with the highest score
  // the query gives it.
  CEnumResultsRanked(EnumPtr query, int keep);
  ~CEnumResultsRanked() override;

  EnumPtr Clone() const override;
  void Reset() override;
  std::string Describe(int indent) const override;
  bool Contains(const char* word) const override;
  const char* Next(int* counter) override;
  int Score() const override;
  // On a scale of kRankedExtent, shared evenly by the levels.
  int GetPosition() const override;
  int GetExtent() const override;

  static constexpr int kRankedExtent = 10000;

  // The floors of the levels, highest first, for `counts` (the query's
  // score counts); `phrases` asks for levels, otherwise one floor.
  static std::vector<int> PlanFloors(const ScoreCounts& counts, bool phrases);

 private:
  struct Entry {
    std::string text;  // engine text
    int score = 0;
  };

  void StartLevel();
  // Reads the current level; false when the counter ran out first.
  bool CollectLevel(int* counter);
  void Collect(const char* word, int score);
  // Keeps the best `limit` entries of the level.
  void Prune(size_t limit);
  void FinishLevel();
  int Remaining() const;

  int keep_;
  std::vector<int> floors_;  // planned at the first Next
  bool planned_ = false;
  int level_index_ = 0;
  EnumPtr level_;  // the level being read; null while yielding
  std::vector<Entry> entries_;
  std::unordered_map<std::string, size_t> entry_of_;  // key -> entries_
  std::unordered_set<std::string> yielded_keys_;
  // Results scoring under this cannot be kept any more (set by pruning).
  int cutoff_ = kMinScore;
  size_t next_ready_ = 0;
  bool yielding_ = false;
  int yielded_ = 0;
  int score_ = kDefaultScore;
  bool done_ = false;
};

// Whether engine-text result `a` scoring `a_score` comes before `b`.
bool RanksBefore(const std::string& a, int a_score, const std::string& b,
                 int b_score);

}  // namespace vocor

#endif  // VOCOR_ENGINE_RANKED_H_
