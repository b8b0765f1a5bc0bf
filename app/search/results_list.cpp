#include "app/search/results_list.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "engine/charset.h"

namespace vocor {

bool ResultsList::Before(const Word& a, const Word& b) {
  // std::string compares its chars as unsigned bytes, so accented engine
  // letters sort after the ASCII ones.
  if (a.key != b.key) return a.key < b.key;
  return a.engine < b.engine;
}

bool ResultsList::Add(const char* engine_word) {
  Word word;
  word.engine = engine_word;
  word.key = word.engine;
  EngineLowerInPlace(&word.key);
  if (!keys_.insert(word.key).second) return false;
  word.utf8 = EngineToUtf8(word.engine);
  pending_.push_back(std::move(word));
  return true;
}

int ResultsList::size() const {
  return static_cast<int>(sorted_.size() + pending_.size());
}

int ResultsList::Flush() {
  const int added = static_cast<int>(pending_.size());
  if (added == 0) return 0;
  std::sort(pending_.begin(), pending_.end(), Before);
  std::vector<Word> merged;
  merged.reserve(sorted_.size() + pending_.size());
  std::merge(std::make_move_iterator(sorted_.begin()),
             std::make_move_iterator(sorted_.end()),
             std::make_move_iterator(pending_.begin()),
             std::make_move_iterator(pending_.end()),
             std::back_inserter(merged), Before);
  sorted_ = std::move(merged);
  pending_.clear();
  return added;
}

int ResultsList::sorted_count() const {
  return static_cast<int>(sorted_.size());
}

const std::string& ResultsList::at(int index) const {
  return sorted_[index].utf8;
}

void ResultsList::Clear() {
  sorted_.clear();
  pending_.clear();
  keys_.clear();
}

CResultsSinkListCtrl::CResultsSinkListCtrl(ResultsList* list) : list_(list) {}

bool CResultsSinkListCtrl::AddResult(const char* word, int score) {
  (void)score;
  // A word already in the list is not a failure: the sink keeps each word
  // once by design.
  list_->Add(word);
  return true;
}

int CResultsSinkListCtrl::GetResultCount() const { return list_->size(); }

}  // namespace vocor
