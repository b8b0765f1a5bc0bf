#include "engine/phrase_word_list.h"

#include <algorithm>
#include <bit>

namespace vocor {

void PhraseWordList::Add(const char* word, int score,
                         const std::vector<int>& slot_of) {
  const int order = given_++;
  if (unique_) {
    const auto [it, inserted] = seen_.emplace(word, size());
    if (!inserted) {
      Word& first = words_[it->second];
      auto& seen = repeats_[it->second];
      if (seen.empty()) seen.emplace_back(first.order, first.score);
      seen.emplace_back(order, score);
      first.score = std::max(first.score, score);
      return;
    }
  }
  Word w{static_cast<uint32_t>(texts_.size()),
         0,
         static_cast<uint32_t>(runs_.size()),
         0,
         0,
         score,
         order};
  int counts[kLetterTableSize] = {};
  for (const char* p = word; *p != '\0'; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    if (IsCountedCharacter(c)) ++counts[c];
    texts_.push_back(*p);
  }
  w.text_size = static_cast<uint32_t>(texts_.size()) - w.text_begin;
  for (int c = 1; c < kLetterTableSize; ++c) {
    if (counts[c] == 0) continue;
    runs_.push_back({slot_of[c], counts[c]});
    w.counted += counts[c];
  }
  w.runs_size = static_cast<uint32_t>(runs_.size()) - w.runs_begin;
  Append(w);
}

void PhraseWordList::Append(Word w) {
  if (keys_ != nullptr) AddKey(w);
  min_counted_ = words_.empty() ? w.counted : std::min(min_counted_, w.counted);
  max_counted_ = std::max(max_counted_, w.counted);
  words_.push_back(w);
}

void PhraseWordList::CopyWord(const PhraseWordList& from, int i, int floor) {
  Word w = from.words_[i];
  const auto text = from.texts_.begin() + w.text_begin;
  const auto runs = from.runs_.begin() + w.runs_begin;
  if (unique_ && !from.seen_.empty()) {
    seen_.emplace(std::string(text, text + w.text_size), size());
  }
  if (const auto it = from.repeats_.find(i); it != from.repeats_.end()) {
    auto& kept = repeats_[size()];
    for (const auto& [order, score] : it->second) {
      if (score >= floor) kept.emplace_back(order, score);
    }
  }
  w.order = from.FirstOrderFrom(i, floor);
  w.text_begin = static_cast<uint32_t>(texts_.size());
  texts_.append(text, text + w.text_size);
  w.runs_begin = static_cast<uint32_t>(runs_.size());
  runs_.insert(runs_.end(), runs, runs + w.runs_size);
  Append(w);
}

int PhraseWordList::FirstOrderFrom(int i, int floor) const {
  if (words_[i].score < floor) return -1;
  const auto it = repeats_.find(i);
  if (it == repeats_.end()) return words_[i].order;
  for (const auto& [order, score] : it->second) {
    if (score >= floor) return order;
  }
  return -1;
}

std::unique_ptr<PhraseWordList> PhraseWordList::Filtered(
    int floor, const LetterKeyLayout* keys) const {
  std::vector<std::pair<int, int>> kept;  // (order, index)
  for (int i = 0; i < size(); ++i) {
    const int order = FirstOrderFrom(i, floor);
    if (order >= 0) kept.emplace_back(order, i);
  }
  std::sort(kept.begin(), kept.end());
  auto out = std::make_unique<PhraseWordList>(keys);
  out->unique_ = unique_;
  out->given_ = given_;
  for (const auto& [order, i] : kept) out->CopyWord(*this, i, floor);
  return out;
}

void PhraseWordList::BuildIndexes(int slots) {
  if (!indexed_) BuildIndex(slots + 1);
  if (!grouped_ && slots <= kMaxGroupSlots) BuildGroups(slots);
}

long long PhraseWordList::FitsByGroups(const std::vector<int>& budget,
                                       int floor, long long min_counted,
                                       long long max_counted,
                                       std::vector<int>* fits) {
  const int slots = static_cast<int>(budget.size()) - 1;
  if (slots > kMaxGroupSlots) return -1;
  if (!grouped_) BuildGroups(slots);
  uint32_t avail = 0;
  for (int s = 0; s < slots; ++s) {
    if (budget[s] != 0) avail |= 1u << s;
  }
  long long work = 0;
  std::vector<int> scratch = budget;
  int remaining = 0;
  auto take_group = [&](size_t g) {
    const auto end = grouped_words_.begin() + group_begin_[g + 1];
    auto it =
        std::lower_bound(grouped_words_.begin() + group_begin_[g], end, floor);
    for (; it != end; ++it) {
      ++work;
      const int counted = words_[*it].counted;
      if (counted < min_counted || counted > max_counted) continue;
      if (Fit(*it, &scratch, &remaining, false)) fits->push_back(*it);
    }
  };
  const int bits = std::popcount(avail);
  if (bits < 20 && (size_t{1} << bits) < group_masks_.size()) {
    for (uint32_t sub = avail;; sub = (sub - 1) & avail) {
      ++work;
      const auto found =
          std::lower_bound(group_masks_.begin(), group_masks_.end(), sub);
      if (found != group_masks_.end() && *found == sub) {
        take_group(found - group_masks_.begin());
      }
      if (sub == 0) break;
    }
  } else {
    for (size_t g = 0; g < group_masks_.size(); ++g) {
      ++work;
      if ((group_masks_[g] & ~avail) == 0) take_group(g);
    }
  }
  std::sort(fits->begin(), fits->end());
  return work;
}

const std::vector<int>* PhraseWordList::ExactMatches(
    const std::vector<int>& budget) {
  if (!indexed_) BuildIndex(static_cast<int>(budget.size()));
  // Most budgets asked about are no word's letters: a bit per hash
  // answers those without the map.
  const uint64_t hash = HashOf(budget);
  if (!(seen_hashes_[(hash >> 6) & kHashWordMask] & (1ull << (hash & 63)))) {
    return nullptr;
  }
  if (!KeyOf(budget, &key_)) return nullptr;
  const auto it = by_key_.find(key_);
  return it == by_key_.end() ? nullptr : &it->second;
}

bool PhraseWordList::KeyOf(const std::vector<int>& budget, std::string* key) {
  key->assign(budget.size() - 1, '\0');
  for (size_t s = 0; s + 1 < budget.size(); ++s) {
    if (budget[s] > kMaxKeyedCount) return false;
    (*key)[s] = static_cast<char>(budget[s]);
  }
  return true;
}

void PhraseWordList::AddKey(const Word& w) {
  uint64_t key = 0;
  for (uint32_t r = w.runs_begin; r < w.runs_begin + w.runs_size; ++r) {
    const Run& run = runs_[r];
    key = run.slot == kAbsent ? LetterKeyLayout::kNever
                              : keys_->Add(key, run.slot, run.count);
  }
  const int index = static_cast<int>(words_.size());
  word_keys_.push_back(key);
  if (key == LetterKeyLayout::kNever) return;
  candidates_.push_back(index);
  by_letter_key_.Add(key, index);
}

void PhraseWordList::BuildGroups(int slots) {
  grouped_ = true;
  std::vector<std::pair<uint32_t, int>> by_mask;
  by_mask.reserve(words_.size());
  for (int i = 0; i < size(); ++i) {
    const Word& w = words_[i];
    uint32_t mask = 0;
    for (uint32_t r = w.runs_begin; r < w.runs_begin + w.runs_size; ++r) {
      const int slot = runs_[r].slot;
      mask |= 1u << (slot == kAbsent ? slots : slot);
    }
    by_mask.emplace_back(mask, i);
  }
  std::sort(by_mask.begin(), by_mask.end());
  for (size_t k = 0; k < by_mask.size(); ++k) {
    if (k == 0 || by_mask[k].first != by_mask[k - 1].first) {
      group_masks_.push_back(by_mask[k].first);
      group_begin_.push_back(static_cast<uint32_t>(k));
    }
    grouped_words_.push_back(by_mask[k].second);
  }
  group_begin_.push_back(static_cast<uint32_t>(by_mask.size()));
}

uint64_t PhraseWordList::HashOf(const std::vector<int>& budget) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (size_t s = 0; s + 1 < budget.size(); ++s) {
    hash = (hash ^ static_cast<uint64_t>(budget[s])) * 0x100000001b3ull;
  }
  return hash ^ (hash >> 29);
}

void PhraseWordList::BuildIndex(int slots) {
  indexed_ = true;
  seen_hashes_.assign(kHashWordMask + 1, 0);
  std::vector<int> letters(slots, 0);
  for (int i = 0; i < size(); ++i) {
    const Word& w = words_[i];
    std::fill(letters.begin(), letters.end(), 0);
    bool keyed = true;
    for (uint32_t r = w.runs_begin; r < w.runs_begin + w.runs_size; ++r) {
      if (runs_[r].slot == kAbsent) keyed = false;
      if (keyed) letters[runs_[r].slot] = runs_[r].count;
    }
    std::string key;
    if (keyed && KeyOf(letters, &key)) {
      by_key_[key].push_back(i);
      const uint64_t hash = HashOf(letters);
      seen_hashes_[(hash >> 6) & kHashWordMask] |= 1ull << (hash & 63);
    }
  }
}

}  // namespace vocor
