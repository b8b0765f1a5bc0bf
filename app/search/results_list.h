// The words of the results list, without a widget: each word once
// (compared without regard to case, in constant time), in ascending order
// of what is shown. Words arrive one at a time while a search runs and are
// kept pending; Flush merges them into the sorted list in one go, so that a
// view over the list changes only at the refresh points of a search.
#ifndef VOCOR_APP_SEARCH_RESULTS_LIST_H_
#define VOCOR_APP_SEARCH_RESULTS_LIST_H_

#include <string>
#include <unordered_set>
#include <vector>

#include "search/results_sink.h"

namespace vocor {

class ResultsList {
 public:
  // Adds an engine-text word unless the list (sorted or pending) holds it
  // ignoring case. Returns whether it was added.
  bool Add(const char* engine_word);
  // Sorted and pending words.
  int size() const;
  // Moves the pending words into the sorted list; returns how many.
  int Flush();
  // The sorted words, as UTF-8. Indices are valid until the next Flush or
  // Clear.
  int sorted_count() const;
  const std::string& at(int index) const;
  void Clear();

 private:
  struct Word {
    std::string key;     // engine lower case: order and duplicates
    std::string engine;  // breaks ties between spellings of one key
    std::string utf8;    // what is shown
  };
  static bool Before(const Word& a, const Word& b);

  std::vector<Word> sorted_;
  std::vector<Word> pending_;
  std::unordered_set<std::string> keys_;  // of sorted and pending words
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
