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
    blocks_.push_back(std::make_unique<char[]>(block_size_));
    block_used_ = 0;
  }
  char* start = blocks_.back().get() + block_used_;
  std::memcpy(start, text.data(), text.size());
  block_used_ += text.size();
  return std::string_view(start, text.size());
}

bool CResultsSinkSorted::InsertKey(std::string_view key) {
  if ((keys_ + 1) * 2 > slots_.size()) {
    // Grow to keep the table at most half full; views move, not words.
    std::vector<std::string_view> old(std::max<size_t>(64, slots_.size() * 2));
    old.swap(slots_);
    for (std::string_view k : old) {
      if (k.data() == nullptr) continue;
      size_t i = std::hash<std::string_view>()(k) & (slots_.size() - 1);
      while (slots_[i].data() != nullptr) i = (i + 1) & (slots_.size() - 1);
      slots_[i] = k;
    }
  }
  size_t i = std::hash<std::string_view>()(key) & (slots_.size() - 1);
  for (; slots_[i].data() != nullptr; i = (i + 1) & (slots_.size() - 1)) {
    if (slots_[i] == key) return false;
  }
  slots_[i] = Keep(key);
  ++keys_;
  return true;
}

bool CResultsSinkSorted::AddResult(const char* word) {
  // Dictionary words are lower case already; fold only when needed.
  const size_t length = std::strlen(word);
  std::string folded;
  std::string_view key(word, length);
  for (size_t i = 0; i < length; ++i) {
    const auto c = static_cast<unsigned char>(word[i]);
    if (EngineToLower(c) != c) {
      folded.assign(word, length);
      EngineLowerInPlace(&folded);
      key = folded;
      break;
    }
  }
  if (!InsertKey(key)) return true;
  bool ascii = true;
  for (size_t i = 0; i < length && ascii; ++i) {
    ascii = static_cast<unsigned char>(word[i]) < 0x80;
  }
  results_.push_back(ascii
                         ? Keep(std::string_view(word, length))
                         : Keep(EngineToUtf8(std::string_view(word, length))));
  return true;
}

int CResultsSinkSorted::GetResultCount() const {
  return static_cast<int>(results_.size());
}

std::vector<std::string_view> CResultsSinkSorted::SortedViews() const {
  std::vector<std::string_view> sorted = results_;
  std::sort(sorted.begin(), sorted.end());
  return sorted;
}

std::vector<std::string> CResultsSinkSorted::SortedResults() const {
  std::vector<std::string> sorted;
  sorted.reserve(results_.size());
  for (std::string_view v : SortedViews()) sorted.emplace_back(v);
  return sorted;
}

}  // namespace vocor
