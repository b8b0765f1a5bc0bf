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

void CResultsSinkSorted::InsertSlot(size_t hash, std::string_view key) {
  if ((slot_count_ + 1) * 2 > slots_.size()) {
    // Grow to keep the table at most half full; views move, not words.
    std::vector<Slot> old(std::max<size_t>(64, slots_.size() * 2));
    old.swap(slots_);
    slot_count_ = 0;
    for (const Slot& slot : old) {
      if (slot.key.data() != nullptr) InsertSlot(slot.hash, slot.key);
    }
  }
  size_t i = hash & (slots_.size() - 1);
  while (slots_[i].key.data() != nullptr) i = (i + 1) & (slots_.size() - 1);
  slots_[i] = Slot{hash, key};
  ++slot_count_;
}

bool CResultsSinkSorted::IsNewKey(std::string_view key,
                                  std::string_view* kept) {
  if (ascending_) {
    if (ascending_keys_.empty() || key > ascending_keys_.back()) {
      *kept = Keep(key);
      ascending_keys_.push_back(*kept);
      return true;
    }
    ascending_ = false;
    for (std::string_view k : ascending_keys_) {
      InsertSlot(std::hash<std::string_view>()(k), k);
    }
    ascending_keys_ = {};
  }
  const size_t hash = std::hash<std::string_view>()(key);
  if (!slots_.empty()) {
    for (size_t i = hash & (slots_.size() - 1); slots_[i].key.data() != nullptr;
         i = (i + 1) & (slots_.size() - 1)) {
      if (slots_[i].hash == hash && slots_[i].key == key) return false;
    }
  }
  *kept = Keep(key);
  InsertSlot(hash, *kept);
  return true;
}

bool CResultsSinkSorted::AddResult(const char* word) {
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
  if (!IsNewKey(folds ? std::string_view(folded) : text, &kept)) return true;
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
    std::sort(results_.begin(), results_.end());
  }
  return results_;
}

std::vector<std::string> CResultsSinkSorted::SortedResults() const {
  std::vector<std::string> sorted(results_.begin(), results_.end());
  std::sort(sorted.begin(), sorted.end());
  return sorted;
}

}  // namespace vocor
