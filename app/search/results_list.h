// The words of the results list, without a widget: each word once
// (compared without regard to case, in constant time) with its score, in
// the list's order: alphabetical (ascending engine lower case, the
// default) or best first (search/result_order.h: highest score first,
// fewer words first, then alphabetical). Words arrive one at a time while a
// search runs and are kept pending; Flush merges them into the shown list
// in one go, so that a view over the list changes only at the refresh
// points of a search.
#ifndef VOCOR_APP_SEARCH_RESULTS_LIST_H_
#define VOCOR_APP_SEARCH_RESULTS_LIST_H_

#include <string>
#include <unordered_map>
#include <vector>

#include "engine/score.h"
#include "search/result_order.h"
#include "search/results_sink.h"

namespace vocor {

class ResultsList {
 public:
  // Adds an engine-text word with its score unless the list (shown or
  // pending) holds it ignoring case; a held word keeps the higher of its
  // scores (a word of two members of a set). Returns whether it was added.
  bool Add(const char* engine_word, int score = kDefaultScore);
  // Shown and pending words.
  int size() const;
  // Whether Flush would change what is shown: new words, or a higher score
  // for a word shown.
  bool HasPending() const;
  // Moves the pending words into the shown list; returns how many.
  int Flush();
  // The shown words in the list's order, as UTF-8, and their scores.
  // Indices are valid until the next Flush, SetOrder or Clear.
  int sorted_count() const;
  const std::string& at(int index) const;
  int score_at(int index) const;
  // Sorts the shown words into `order`; later words join in that order.
  void SetOrder(ResultOrder order);
  ResultOrder order() const { return order_; }
  // Forgets every word; the order stays.
  void Clear();

 private:
  struct Word {
    std::string key;     // engine lower case: order and duplicates
    std::string engine;  // breaks ties between spellings of one key
    std::string utf8;    // what is shown
    int score = kDefaultScore;
  };
  // Whether word `a` comes before word `b` (indices into words_).
  bool Before(int a, int b) const;
  void SortShown();

  ResultOrder order_ = ResultOrder::kAlphabetical;
  // Every word in the order found; the pending ones are those from
  // shown_.size() on.
  std::vector<Word> words_;
  std::vector<int> shown_;  // indices into words_, in the list's order
  std::unordered_map<std::string, int> keys_;  // key -> index into words_
  // A shown word's score rose since the last Flush.
  bool score_changed_ = false;
};

// The sink a window search fills: every word goes to the list.
class CResultsSinkListCtrl : public CResultsSink {
 public:
  // `list` is borrowed and must outlive the sink.
  explicit CResultsSinkListCtrl(ResultsList* list);
  bool AddResult(const char* word, int score) override;
  int GetResultCount() const override;

 private:
  ResultsList* list_;
};

}  // namespace vocor

#endif  // VOCOR_APP_SEARCH_RESULTS_LIST_H_
