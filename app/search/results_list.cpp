#include "app/search/results_list.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "engine/charset.h"

namespace vocor {

bool ResultsList::Before(int a, int b) const {
  const Word& x = words_[a];
  const Word& y = words_[b];
  // Keys are unique in the list, so both orders are strict. Ties of score
  // and word count fall to the keys, as in the alphabetical order.
  if (order_ == ResultOrder::kByScore) {
    return ComesFirstByScore(x.key, x.score, y.key, y.score);
  }
  // std::string compares its chars as unsigned bytes, so accented engine
  // letters sort after the ASCII ones.
  if (x.key != y.key) return x.key < y.key;
  return x.engine < y.engine;
}

bool ResultsList::Add(const char* engine_word, int score) {
  Word word;
  word.engine = engine_word;
  word.key = word.engine;
  EngineLowerInPlace(&word.key);
  const int index = static_cast<int>(words_.size());
  const auto [held, added] = keys_.emplace(word.key, index);
  if (!added) {
    Word& kept = words_[held->second];
    if (score > kept.score) {
      kept.score = score;
      if (held->second < static_cast<int>(shown_.size())) {
        score_changed_ = true;
      }
    }
    return false;
  }
  word.utf8 = EngineToUtf8(word.engine);
  word.score = score;
  words_.push_back(std::move(word));
  return true;
}

int ResultsList::size() const { return static_cast<int>(words_.size()); }

bool ResultsList::HasPending() const {
  return score_changed_ || shown_.size() < words_.size();
}

int ResultsList::Flush() {
  const int first = static_cast<int>(shown_.size());
  const int added = size() - first;
  if (score_changed_) {
    // A shown word may have to move: sort everything again.
    score_changed_ = false;
    for (int i = first; i < size(); ++i) shown_.push_back(i);
    SortShown();
    return added;
  }
  if (added == 0) return 0;
  std::vector<int> pending(added);
  for (int i = 0; i < added; ++i) pending[i] = first + i;
  const auto before = [this](int a, int b) { return Before(a, b); };
  std::sort(pending.begin(), pending.end(), before);
  std::vector<int> merged;
  merged.reserve(words_.size());
  std::merge(shown_.begin(), shown_.end(), pending.begin(), pending.end(),
             std::back_inserter(merged), before);
  shown_ = std::move(merged);
  return added;
}

void ResultsList::SortShown() {
  std::sort(shown_.begin(), shown_.end(),
            [this](int a, int b) { return Before(a, b); });
}

int ResultsList::sorted_count() const {
  return static_cast<int>(shown_.size());
}

const std::string& ResultsList::at(int index) const {
  return words_[shown_[index]].utf8;
}

int ResultsList::score_at(int index) const {
  return words_[shown_[index]].score;
}

void ResultsList::SetOrder(ResultOrder order) {
  order_ = order;
  SortShown();
}

void ResultsList::Clear() {
  words_.clear();
  shown_.clear();
  keys_.clear();
  score_changed_ = false;
}

CResultsSinkListCtrl::CResultsSinkListCtrl(ResultsList* list) : list_(list) {}

bool CResultsSinkListCtrl::AddResult(const char* word, int score) {
  // A word already in the list is not a failure: the sink keeps each word
  // once by design.
  list_->Add(word, score);
  return true;
}

int CResultsSinkListCtrl::GetResultCount() const { return list_->size(); }

}  // namespace vocor
