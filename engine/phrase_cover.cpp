// The phrase enumerator's exact cover, for phrases of interchangeable
// words. A step holds what the words taken so far left of the budget and
// the candidates: the words that still fit it and are not left out. When
// every letter must be used, the step tries only the candidates holding
// the letter left that the fewest candidates hold (every phrase from here
// needs one of them); its i-th word leaves the first i - 1 out of its
// subtree, so each combination of words is found once. A letter no
// candidate holds ends the step at once. A step fills its candidates from
// the last step before that did, and files them in one bucket per letter;
// the last steps before the end take their branch from those buckets, and
// the last word is looked up by the letters left.
#include <algorithm>
#include <bit>

#include "engine/phrase.h"
#include "engine/phrase_internal.h"
#include "engine/phrase_word_list.h"

namespace vocor {

CEnumResultsPhrase::CoverEntry CEnumResultsPhrase::EntryOf(int word) const {
  const PhraseWordList& list = *lists_[0];
  CoverEntry entry{keyed_ ? list.key(word) : 0, 0, word,
                   list.word(word).counted};
  if (keyed_) {
    const PhraseWordList::Run* runs = list.runs(word);
    for (uint32_t r = 0; r < list.word(word).runs_size; ++r) {
      entry.slots |= uint32_t{1} << runs[r].slot;
    }
  }
  return entry;
}

template <typename Visit>
void CEnumResultsPhrase::ForEachSlot(const CoverEntry& entry,
                                     Visit visit) const {
  if (keyed_) {
    for (uint32_t m = entry.slots; m != 0; m &= m - 1) {
      visit(std::countr_zero(m));
    }
    return;
  }
  const PhraseWordList& list = *lists_[0];
  const PhraseWordList::Run* runs = list.runs(entry.word);
  for (uint32_t r = 0; r < list.word(entry.word).runs_size; ++r) {
    if (runs[r].slot != PhraseWordList::kAbsent) visit(runs[r].slot);
  }
}

inline bool CEnumResultsPhrase::Fits(const CoverEntry& entry,
                                     const CoverStep& step) const {
  if (keyed_) return keys_.Fits(entry.key, step.left) && !left_out_[entry.word];
  // Fit only reads the budget when it does not take.
  return !left_out_[entry.word] &&
         lists_[0]->Fit(entry.word, const_cast<std::vector<int>*>(&step.budget),
                        nullptr, false);
}

bool CEnumResultsPhrase::IsCover() const {
  if (shape_.pieces.size() < 2) return false;
  for (size_t i = 1; i < shape_.pieces.size(); ++i) {
    if (shape_.pieces[i] != shape_.pieces[0] || !shape_.ascending[i]) {
      return false;
    }
  }
  return true;
}

void CEnumResultsPhrase::StartCover() {
  steps_.resize(shape_.pieces.size() + 1);
  taken_.clear();
  left_out_.assign(lists_[0]->size(), 0);
  CoverStep& first = steps_[0];
  first.budget = first_budget_;
  first.left = keys_.full();
  first.remaining = first_remaining_;
  first.score = kMaxScore;
  first.cursor = 0;
  first.expanded = false;
  depth_ = 0;
}

const char* CEnumResultsPhrase::WalkCover(int* counter) {
  for (;;) {
    if (depth_ == -2) return nullptr;
    // Suspends with the counter at 0 exactly, never below.
    if (counter != nullptr && *counter <= 0) return nullptr;
    if (depth_ == -1) StartCover();
    CoverStep& step = steps_[depth_];
    if (!step.expanded) {
      ExpandStep(depth_, counter);
      continue;
    }
    if (step.cursor >= step.branch.size()) {
      LeaveStep(depth_);
      continue;
    }
    if (counter != nullptr) --*counter;
    if (step.cursor > 0) left_out_[step.branch[step.cursor - 1]] = 1;
    TakeWord(depth_, step.branch[step.cursor++]);
    if (IsComplete(depth_, steps_[depth_].remaining)) return CoverPhrase();
  }
}

void CEnumResultsPhrase::ExpandStep(int depth, int* counter) {
  CoverStep& step = steps_[depth];
  const PhraseWordList& list = *lists_[0];
  step.expanded = true;
  step.branch.clear();
  step.candidates.clear();
  step.bucket_begin.clear();
  step.has_near.clear();
  step.materialized = false;
  const int places = static_cast<int>(shape_.pieces.size());
  if (depth == places) return;
  // Once the limited letters are spent, only words using none could follow.
  if (shape_.use_all && !has_unlimited_ && step.remaining == 0 &&
      list.min_counted() > 0) {
    return;
  }
  const bool exact =
      keyed_ || (!has_unlimited_ && step.budget.back() == 0 &&
                 *std::max_element(step.budget.begin(), step.budget.end()) <=
                     PhraseWordList::kMaxKeyedCount);
  if (depth + 1 == places && shape_.use_all && exact) {
    if (counter != nullptr) --*counter;
    LookUpLastWord(depth);
    return;
  }
  // Three or two words to go: the buckets of the last step that filled
  // them hold every word that can take the next place, so this step only
  // filters the smallest it needs. Filling candidates anew would cost more
  // here than the last steps could save.
  if (depth > 0 && depth + 3 >= places) {
    BranchFromBuckets(depth, counter);
    return;
  }
  if (!FilterCandidates(depth, counter)) return;
  const int best = BranchSlot(step.budget, [&](int s) {
    return step.bucket_begin[s + 1] - step.bucket_begin[s];
  });
  if (best < 0) {
    for (const CoverEntry& e : step.candidates) step.branch.push_back(e.word);
  } else {
    for (int k = step.bucket_begin[best]; k < step.bucket_begin[best + 1];
         ++k) {
      step.branch.push_back(step.buckets[k].word);
    }
  }
}

template <typename SizeOf>
int CEnumResultsPhrase::BranchSlot(const std::vector<int>& budget,
                                   SizeOf size_of) const {
  if (!shape_.use_all) return -1;
  int best = -1;
  int best_size = 0;
  const int slots = static_cast<int>(budget.size()) - 1;
  for (int s = 0; s < slots; ++s) {
    if (budget[s] == 0 || !PhraseWordList::IsLimited(budget[s])) continue;
    const int size = size_of(s);
    if (best < 0 || size < best_size) {
      best = s;
      best_size = size;
    }
  }
  return best;
}

void CEnumResultsPhrase::BranchFromBuckets(int depth, int* counter) {
  CoverStep& step = steps_[depth];
  const CoverStep& before = steps_[MaterializedBefore(depth)];
  // The step before may hold some of those buckets filtered to its budget.
  const CoverStep* near = depth > 0 && !steps_[depth - 1].materialized
                              ? &steps_[depth - 1]
                              : nullptr;
  auto has_near = [&](int s) {
    return near != nullptr && s < static_cast<int>(near->has_near.size()) &&
           near->has_near[s];
  };
  const int best = BranchSlot(step.budget, [&](int s) {
    return has_near(s) ? static_cast<int>(near->near_buckets[s].size())
                       : before.bucket_begin[s + 1] - before.bucket_begin[s];
  });
  const CoverEntry* from = before.candidates.data();
  const CoverEntry* to = from + before.candidates.size();
  if (best >= 0 && has_near(best)) {
    from = near->near_buckets[best].data();
    to = from + near->near_buckets[best].size();
  } else if (best >= 0) {
    from = before.buckets.data() + before.bucket_begin[best];
    to = before.buckets.data() + before.bucket_begin[best + 1];
  }
  Charge(counter, to - from);
  // Before a last word the index names, a word that neither ends the
  // phrase nor leaves some word's letters is left out here, where it costs
  // a lookup, rather than tried.
  const int places = static_cast<int>(shape_.pieces.size());
  const bool before_last = keyed_ && shape_.use_all && depth + 2 == places;
  const PhraseWordList& list = *lists_[0];
  for (auto it = from; it != to; ++it) {
    if (!Fits(*it, step)) continue;
    if (before_last && it->key != step.left &&
        list.WithKey(step.left - it->key).first < 0) {
      continue;
    }
    step.branch.push_back(it->word);
  }
  if (depth + 3 == places) FilterNearBuckets(depth, before, counter);
}

// With three words to go, the steps after this one each scan a bucket of
// the last step that filled them; the few smallest of those, filtered to
// this step's budget, are much shorter and serve all of them.
void CEnumResultsPhrase::FilterNearBuckets(int depth, const CoverStep& before,
                                           int* counter) {
  constexpr int kNearBuckets = 4;
  CoverStep& step = steps_[depth];
  const int slots = static_cast<int>(step.budget.size()) - 1;
  std::vector<std::pair<int, int>> sizes;  // (size, slot)
  for (int s = 0; s < slots; ++s) {
    if (step.budget[s] == 0 || !PhraseWordList::IsLimited(step.budget[s])) {
      continue;
    }
    sizes.emplace_back(before.bucket_begin[s + 1] - before.bucket_begin[s], s);
  }
  const size_t kept = std::min<size_t>(kNearBuckets, sizes.size());
  std::partial_sort(sizes.begin(), sizes.begin() + kept, sizes.end());
  step.has_near.assign(slots, 0);
  step.near_buckets.resize(slots);
  for (size_t k = 0; k < kept; ++k) {
    const int s = sizes[k].second;
    std::vector<CoverEntry>& bucket = step.near_buckets[s];
    bucket.clear();
    Charge(counter, sizes[k].first);
    for (int b = before.bucket_begin[s]; b < before.bucket_begin[s + 1]; ++b) {
      if (Fits(before.buckets[b], step)) bucket.push_back(before.buckets[b]);
    }
    step.has_near[s] = 1;
  }
}

int CEnumResultsPhrase::MaterializedBefore(int depth) const {
  int d = depth - 1;
  while (!steps_[d].materialized) --d;  // the first step always is
  return d;
}

void CEnumResultsPhrase::Charge(int* counter, long long work) {
  if (counter != nullptr) {
    *counter = static_cast<int>(std::max<long long>(0, *counter - work));
  }
}

// Fills the step's candidates from the step before's (the whole list at
// the first step), one unit of work per word looked at, and files them in
// one bucket per budget slot they use. False when no phrase can follow: a
// letter left that no candidate holds, or more letters left than the
// words left to take can hold.
bool CEnumResultsPhrase::FilterCandidates(int depth, int* counter) {
  CoverStep& step = steps_[depth];
  const PhraseWordList& list = *lists_[0];
  std::vector<CoverEntry> all;
  if (depth == 0) {
    if (keyed_) {
      for (int i : list.candidates()) all.push_back(EntryOf(i));
    } else {
      for (int i = 0; i < list.size(); ++i) all.push_back(EntryOf(i));
    }
  }
  const std::vector<CoverEntry>& from =
      depth > 0 ? steps_[MaterializedBefore(depth)].candidates : all;
  step.materialized = true;
  Charge(counter, static_cast<long long>(from.size()));
  const int slots = static_cast<int>(step.budget.size());
  slot_counts_.assign(slots, 0);
  int most_counted = 0;
  for (const CoverEntry& e : from) {
    if (!Fits(e, step)) continue;
    step.candidates.push_back(e);
    most_counted = std::max(most_counted, e.counted);
    ForEachSlot(e, [&](int slot) { ++slot_counts_[slot]; });
  }
  const int words_left = static_cast<int>(shape_.pieces.size()) - depth;
  if (shape_.use_all && !has_unlimited_ &&
      static_cast<long long>(most_counted) * words_left < step.remaining) {
    return false;
  }
  if (shape_.use_all) {
    for (int s = 0; s + 1 < slots; ++s) {
      if (step.budget[s] > 0 && PhraseWordList::IsLimited(step.budget[s]) &&
          slot_counts_[s] == 0) {
        return false;
      }
    }
  }
  step.bucket_begin.assign(slots + 1, 0);
  for (int s = 0; s < slots; ++s) {
    step.bucket_begin[s + 1] = step.bucket_begin[s] + slot_counts_[s];
  }
  step.buckets.resize(step.bucket_begin[slots]);
  for (const CoverEntry& e : step.candidates) {
    ForEachSlot(e, [&](int slot) {
      step.buckets[step.bucket_begin[slot + 1] - slot_counts_[slot]--] = e;
    });
  }
  return true;
}

// The last word must use exactly what is left: the letter index names it.
void CEnumResultsPhrase::LookUpLastWord(int depth) {
  CoverStep& step = steps_[depth];
  PhraseWordList& list = *lists_[0];
  if (keyed_) {
    for (int i = list.WithKey(step.left).first; i >= 0;
         i = list.NextWithKey(i)) {
      if (!left_out_[i]) step.branch.push_back(i);
    }
  } else if (const std::vector<int>* exact = list.ExactMatches(step.budget)) {
    for (int i : *exact) {
      if (!left_out_[i]) step.branch.push_back(i);
    }
  }
}

void CEnumResultsPhrase::TakeWord(int depth, int word) {
  const CoverStep& step = steps_[depth];
  CoverStep& next = steps_[depth + 1];
  const PhraseWordList& list = *lists_[0];
  next.budget = step.budget;
  next.remaining = step.remaining;
  list.Fit(word, &next.budget, &next.remaining, true);
  next.left = keyed_ ? step.left - list.key(word) : 0;
  next.score = std::min(step.score, list.word(word).score);
  next.cursor = 0;
  next.expanded = false;
  taken_.push_back(word);
  depth_ = depth + 1;
}

void CEnumResultsPhrase::LeaveStep(int depth) {
  const CoverStep& step = steps_[depth];
  // Unmarks the words this step left out (and the last one it tried, which
  // no step before can have left out: it was a candidate).
  for (size_t k = 0; k < step.cursor; ++k) left_out_[step.branch[k]] = 0;
  if (depth == 0) {
    depth_ = -2;
    return;
  }
  taken_.pop_back();
  depth_ = depth - 1;
}

// The phrase of the words taken, in list order.
const char* CEnumResultsPhrase::CoverPhrase() {
  sorted_ = taken_;
  std::sort(sorted_.begin(), sorted_.end());
  text_.clear();
  for (size_t k = 0; k < sorted_.size(); ++k) {
    if (k > 0) text_.push_back(' ');
    lists_[0]->AppendText(sorted_[k], &text_);
  }
  score_ = steps_[depth_].score;
  return text_.c_str();
}

}  // namespace vocor
