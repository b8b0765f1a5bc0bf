#include "search/results_sink.h"

#include <algorithm>

#include "engine/charset.h"

namespace vocor {

bool CResultsSinkSorted::AddResult(const char* word) {
  std::string key = word;
  EngineLowerInPlace(&key);
  if (seen_.insert(std::move(key)).second) {
    results_.push_back(EngineToUtf8(word));
  }
  return true;
}

int CResultsSinkSorted::GetResultCount() const {
  return static_cast<int>(results_.size());
}

std::vector<std::string> CResultsSinkSorted::SortedResults() const {
  std::vector<std::string> sorted = results_;
  std::sort(sorted.begin(), sorted.end());
  return sorted;
}

}  // namespace vocor
