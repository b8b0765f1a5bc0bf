// Receivers of found words. A search run hands every word its query yields
// to a sink; the sink decides what to keep.
#ifndef VOCOR_SEARCH_RESULTS_SINK_H_
#define VOCOR_SEARCH_RESULTS_SINK_H_

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "search/result_order.h"

namespace vocor {

class CResultsSink {
 public:
  virtual ~CResultsSink() = default;
  virtual bool BeginResults() { return true; }
  virtual bool EndResults() { return true; }
  // `word` is engine text, borrowed for the call only; `score` is its
  // score (a phrase: its weakest word's).
  virtual bool AddResult(const char* word, int score) = 0;
  // How many results the sink holds now (duplicates dropped).
  virtual int GetResultCount() const = 0;
  // Whether the sink does anything with the scores. A run does not ask the
  // query for scores a sink leaves unused (a binary dictionary would read
  // its whole score section for them); such a sink gets kDefaultScore.
  virtual bool UsesScores() const { return true; }
};

// A result as UTF-8 with its score.
struct ScoredView {
  std::string_view text;
  int score = 0;
};

// Keeps each word once, comparing without regard to case in constant time
// per word, and hands the results out as UTF-8 sorted in ascending byte
// order (the order of `LC_ALL=C sort`) or in score order. The first
// spelling of a word wins; a word that comes again with a higher score
// (another member of a set) keeps the higher score.
class CResultsSinkSorted : public CResultsSink {
 public:
  bool AddResult(const char* word, int score) override;
  int GetResultCount() const override;

  // The results so far, UTF-8, sorted.
  std::vector<std::string> SortedResults() const;
  // The same, as views into the sink, sorted in place; valid while the
  // sink lives and no result is added.
  const std::vector<std::string_view>& SortedViews();
  // The results with their scores in `order` (search/result_order.h);
  // the views stay valid while the sink lives.
  std::vector<ScoredView> OrderedResults(ResultOrder order) const;
  // Frees what only adding needs (the table that finds repeats), for a
  // sink that takes no more results: ordering them for the last time then
  // has that room, even after memory ran out while they were collected.
  // No result may be added afterwards.
  void StopAdding();

 private:
  // Copies `text` into the arena; the view stays valid as long as the
  // sink, since blocks never move.
  std::string_view Keep(std::string_view text);

  std::vector<std::unique_ptr<char[]>> blocks_;
  size_t block_used_ = 0;
  size_t block_size_ = 0;
  // Whether `key` was not seen before; if so it is kept, and *kept views
  // the copy; if not, *index is the result that holds it.
  bool IsNewKey(std::string_view key, std::string_view* kept, int* index);
  void InsertSlot(size_t hash, std::string_view key, int index);
  // Moves the ascending keys into the table.
  void LeaveAscendingMode();

  // Most queries yield their words in ascending order (a letter tree is
  // walked in order); while every key is greater than the one before, no
  // key can repeat and no table is needed. The first key out of order
  // moves everything into an open-addressing table, where each word costs
  // one probe sequence in a flat array.
  bool ascending_ = true;
  std::vector<std::string_view> ascending_keys_;
  struct Slot {
    size_t hash = 0;
    std::string_view key;  // lower-cased engine text; null data: empty slot
    int index = 0;         // the result holding the key
  };
  std::vector<Slot> slots_;
  size_t slot_count_ = 0;
  std::vector<std::string_view> results_;  // UTF-8, in order found
  std::vector<int> scores_;                // per result
};

}  // namespace vocor

#endif  // VOCOR_SEARCH_RESULTS_SINK_H_
