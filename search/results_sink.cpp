#include "search/results_sink.h"

#include <algorithm>
#include <cstring>

#include "engine/charset.h"

namespace vocor {
namespace {

constexpr size_t kBlockSize = size_t{1} << 20;

}  // namespace

std::string_view CResultsSinkSorted::Keep(std::string_view text) {
  if (block_used_ + text.size() > block_size_) {
    block_size_ = std::max(kBlockSize, text.size());
    // Left uninitialised: every byte is written before it is read.
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(block_size_));
    block_used_ = 0;
  }
  char* start = blocks_.back().get() + block_used_;
  std::memcpy(start, text.data(), text.size());
  block_used_ += text.size();
  return std::string_view(start, text.size());
}

void CResultsSinkSorted::InsertSlot(size_t hash, std::string_view key,
                                    int index) {
  if ((slot_count_ + 1) * 2 > slots_.size()) {
    // Grow to keep the table at most half full; views move, not words.
    std::vector<Slot> old(std::max<size_t>(64, slots_.size() * 2));
    old.swap(slots_);
    slot_count_ = 0;
    for (const Slot& slot : old) {
      if (slot.key.data() != nullptr) {
        InsertSlot(slot.hash, slot.key, slot.index);
      }
    }
  }
  size_t i = hash & (slots_.size() - 1);
  while (slots_[i].key.data() != nullptr) i = (i + 1) & (slots_.size() - 1);
  slots_[i] = Slot{hash, key, index};
  ++slot_count_;
}

void CResultsSinkSorted::LeaveAscendingMode() {
  if (!ascending_) return;
  ascending_ = false;
  for (size_t i = 0; i < ascending_keys_.size(); ++i) {
    const std::string_view k = ascending_keys_[i];
    InsertSlot(std::hash<std::string_view>()(k), k, static_cast<int>(i));
  }
  ascending_keys_ = {};
}

bool CResultsSinkSorted::IsNewKey(std::string_view key,
                                  std::string_view* kept, int* index) {
  const int next = static_cast<int>(results_.size());
  if (ascending_) {
    if (ascending_keys_.empty() || key > ascending_keys_.back()) {
      *kept = Keep(key);
      ascending_keys_.push_back(*kept);
      return true;
    }
    LeaveAscendingMode();
  }
  const size_t hash = std::hash<std::string_view>()(key);
  if (!slots_.empty()) {
    for (size_t i = hash & (slots_.size() - 1); slots_[i].key.data() != nullptr;
         i = (i + 1) & (slots_.size() - 1)) {
      if (slots_[i].hash == hash && slots_[i].key == key) {
        *index = slots_[i].index;
        return false;
      }
    }
  }
  *kept = Keep(key);
  InsertSlot(hash, *kept, next);
  return true;
}

bool CResultsSinkSorted::AddResult(const char* word, int score) {
  const size_t length = std::strlen(word);
  const std::string_view text(word, length);
  // Dictionary words are lower case already; fold only when needed.
  bool folds = false, ascii = true;
  for (size_t i = 0; i < length; ++i) {
    const auto c = static_cast<unsigned char>(word[i]);
    folds = folds || EngineToLower(c) != c;
    ascii = ascii && c < 0x80;
  }
  std::string folded;
  if (folds) {
    folded.assign(text);
    EngineLowerInPlace(&folded);
  }
  std::string_view kept;
  int held = 0;
  if (!IsNewKey(folds ? std::string_view(folded) : text, &kept, &held)) {
    scores_[held] = std::max(scores_[held], score);
    return true;
  }
  scores_.push_back(score);
  // The kept key is the result itself when the word is lower-case ASCII.
  if (ascii && !folds) {
    results_.push_back(kept);
  } else if (ascii) {
    results_.push_back(Keep(text));
  } else {
    const std::string utf8 = EngineToUtf8(text);
    results_.push_back(Keep(utf8));
  }
  return true;
}

int CResultsSinkSorted::GetResultCount() const {
  return static_cast<int>(results_.size());
}

const std::vector<std::string_view>& CResultsSinkSorted::SortedViews() {
  if (!std::is_sorted(results_.begin(), results_.end())) {
    // Sorting moves results, so the table's indices and the scores move
    // with them.
    LeaveAscendingMode();
    std::vector<ScoredView> all = OrderedResults(ResultOrder::kAlphabetical);
    std::vector<int> new_index(results_.size());
    std::vector<size_t> order(results_.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [this](size_t a, size_t b) {
      return results_[a] < results_[b];
    });
    for (size_t i = 0; i < order.size(); ++i) {
      new_index[order[i]] = static_cast<int>(i);
    }
    for (size_t i = 0; i < all.size(); ++i) {
      results_[i] = all[i].text;
      scores_[i] = all[i].score;
    }
    for (Slot& slot : slots_) slot.index = new_index[slot.index];
  }
  return results_;
}

void CResultsSinkSorted::StopAdding() {
  std::vector<Slot>().swap(slots_);
  std::vector<std::string_view>().swap(ascending_keys_);
  slot_count_ = 0;
}

std::vector<ScoredView> CResultsSinkSorted::OrderedResults(
    ResultOrder order) const {
  std::vector<ScoredView> all(results_.size());
  for (size_t i = 0; i < all.size(); ++i) all[i] = {results_[i], scores_[i]};
  SortScoredViews(order, &all);
  return all;
}

std::vector<std::string> CResultsSinkSorted::SortedResults() const {
  std::vector<std::string> sorted(results_.begin(), results_.end());
  std::sort(sorted.begin(), sorted.end());
  return sorted;
}

}  // namespace vocor
