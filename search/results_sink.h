// Receivers of found words. A search run hands every word its query yields
// to a sink; the sink decides what to keep.
#ifndef VOCOR_SEARCH_RESULTS_SINK_H_
#define VOCOR_SEARCH_RESULTS_SINK_H_

#include <string>
#include <unordered_set>
#include <vector>

namespace vocor {

class CResultsSink {
 public:
  virtual ~CResultsSink() = default;
  virtual bool BeginResults() { return true; }
  virtual bool EndResults() { return true; }
  // `word` is engine text, borrowed for the call only.
  virtual bool AddResult(const char* word) = 0;
  // How many results the sink holds now (duplicates dropped).
  virtual int GetResultCount() const = 0;
};

// Keeps each word once, comparing without regard to case in constant time
// per word, and hands the results out as UTF-8 sorted in ascending byte
// order (the order of `LC_ALL=C sort`). The first spelling of a word wins.
class CResultsSinkSorted : public CResultsSink {
 public:
  bool AddResult(const char* word) override;
  int GetResultCount() const override;

  // The results so far, UTF-8, sorted.
  std::vector<std::string> SortedResults() const;

 private:
  std::unordered_set<std::string> seen_;  // lower-cased engine text
  std::vector<std::string> results_;      // UTF-8, in order found
};

}  // namespace vocor

#endif  // VOCOR_SEARCH_RESULTS_SINK_H_
