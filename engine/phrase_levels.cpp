// The phrase enumerator's levels: which words of a piece can take the next
// place, given what the words before them left of the budget.
#include <algorithm>
#include <climits>

#include "engine/phrase.h"
#include "engine/phrase_internal.h"
#include "engine/phrase_word_list.h"

namespace vocor {

bool CEnumResultsPhrase::CanContinue(int depth, int word) {
  if (depth + 1 >= static_cast<int>(shape_.pieces.size())) return false;
  // Once the limited letters are spent, only words using none could follow.
  const Level& next = levels_[depth + 1];
  if (next.remaining == 0 && !has_unlimited_ &&
      lists_[list_of_piece_[depth + 1]]->min_counted() > 0) {
    return false;
  }
  // Most partial phrases have no last word: ask the index before
  // descending rather than after.
  if (!UsesIndex(depth + 1)) return true;
  PhraseWordList& list = *lists_[list_of_piece_[depth + 1]];
  const int floor = shape_.ascending[depth + 1] ? word : 0;
  if (keyed_) return list.WithKey(next.left).last >= floor;
  const std::vector<int>* matches = list.ExactMatches(next.budget);
  return matches != nullptr && matches->back() >= floor;
}

bool CEnumResultsPhrase::UsesIndex(int depth) const {
  const Level& level = levels_[depth];
  if (depth + 1 != static_cast<int>(shape_.pieces.size())) return false;
  if (!keyed_) {
    if (has_unlimited_ || level.budget.back() != 0) return false;
    for (int count : level.budget) {
      if (count > PhraseWordList::kMaxKeyedCount) return false;
    }
  }
  return shape_.use_all ||
         lists_[list_of_piece_[depth]]->min_counted() >= level.remaining;
}

void CEnumResultsPhrase::StartLevel(int depth) {
  Level& level = levels_[depth];
  level.fits.clear();
  level.cursor = 0;
  level.source_at = 0;
  level.filled = false;
  level.scanning = false;
  starts_[depth] = text_.size();
}

// Fills levels_[depth].fits with the words of its piece that fit its
// budget: from the previous level's candidates at and after its word when
// the order is ascending (a smaller budget fits a subset of them), by the
// letter index when the word must use exactly what is left.
bool CEnumResultsPhrase::FilterLevel(int depth, int* counter) {
  Level& level = levels_[depth];
  PhraseWordList& list = *lists_[list_of_piece_[depth]];
  const bool ascending = depth > 0 && shape_.ascending[depth];
  const int floor =
      ascending ? levels_[depth - 1].fits[levels_[depth - 1].cursor - 1] : 0;
  if (UsesIndex(depth)) {
    if (keyed_) {
      for (int i = list.WithKey(level.left).first; i >= 0;
           i = list.NextWithKey(i)) {
        if (i >= floor) level.fits.push_back(i);
      }
    } else if (const std::vector<int>* exact =
                   list.ExactMatches(level.budget)) {
      for (int i : *exact) {
        if (i >= floor) level.fits.push_back(i);
      }
    }
    if (counter != nullptr) --*counter;
    level.filled = true;
    return true;
  }
  const std::vector<int>* from = ascending ? &levels_[depth - 1].fits
                                 : keyed_  ? &list.candidates()
                                           : nullptr;
  const size_t end = from != nullptr ? from->size() : list.size();
  // In a phrase that must use every letter, a word may leave no fewer
  // letters than the shortest words still required need, and no more than
  // the longest words that may still follow can take.
  long long cap = INT_MAX;
  long long floor_length = 0;
  if (shape_.use_all && !has_unlimited_) {
    cap = level.remaining;
    floor_length = level.remaining;
    for (int d = depth + 1; d < static_cast<int>(shape_.pieces.size()); ++d) {
      const PhraseWordList& later = *lists_[list_of_piece_[d]];
      if (d < shape_.min_words) cap -= later.min_counted();
      floor_length -= later.max_counted();
    }
  }
  if (!level.scanning) {
    if (floor_length > list.max_counted()) {
      level.filled = true;
      return true;
    }
    // Groups need a budget without blanks; keyed lists scan instead, at a
    // subtraction a word.
    const long long work =
        keyed_ || level.budget.back() != 0
            ? -1
            : list.FitsByGroups(level.budget, floor, floor_length, cap,
                                &level.fits);
    if (work >= 0) {
      if (counter != nullptr) {
        *counter = static_cast<int>(std::max<long long>(0, *counter - work));
      }
      level.filled = true;
      return true;
    }
    level.scanning = true;
    if (ascending) level.source_at = levels_[depth - 1].cursor - 1;
  }
  if (keyed_) return ScanByKeys(depth, *from, floor_length, cap, counter);
  std::vector<int> scratch = level.budget;
  int scratch_remaining = level.remaining;
  while (level.source_at < end) {
    if (counter != nullptr && *counter <= 0) return false;
    if (counter != nullptr) --*counter;
    const int i = from != nullptr ? (*from)[level.source_at]
                                  : static_cast<int>(level.source_at);
    ++level.source_at;
    const int counted = list.word(i).counted;
    if (counted > cap || counted < floor_length) continue;
    if (list.Fit(i, &scratch, &scratch_remaining, false)) {
      level.fits.push_back(i);
    }
  }
  level.filled = true;
  return true;
}

// Fills the level's fits from `from` by key, a slice of at most the
// counter's units at a time. A word that neither ends a phrase nor can be
// continued is left out here, where it costs a subtraction and a lookup,
// rather than tried: most words before a last word are such.
bool CEnumResultsPhrase::ScanByKeys(int depth, const std::vector<int>& from,
                                    long long min_counted,
                                    long long max_counted, int* counter) {
  Level& level = levels_[depth];
  const PhraseWordList& list = *lists_[list_of_piece_[depth]];
  const bool has_next = depth + 1 < static_cast<int>(shape_.pieces.size());
  // A next place in ascending order takes its words from these: a word
  // that cannot be followed here may still follow another.
  const bool feeds_next = has_next && shape_.ascending[depth + 1];
  while (level.source_at < from.size()) {
    if (counter != nullptr && *counter <= 0) return false;
    size_t end = from.size();
    if (counter != nullptr) {
      end = std::min(end, level.source_at + static_cast<size_t>(*counter));
      *counter -= static_cast<int>(end - level.source_at);
    }
    for (size_t k = level.source_at; k < end; ++k) {
      const int i = from[k];
      const int counted = list.word(i).counted;
      if (counted < min_counted || counted > max_counted ||
          !keys_.Fits(list.key(i), level.left)) {
        continue;
      }
      if (!has_next || feeds_next || LeadsOn(depth, i)) {
        level.fits.push_back(i);
      }
    }
    level.source_at = end;
  }
  level.filled = true;
  return true;
}

bool CEnumResultsPhrase::IsComplete(int words, int remaining) const {
  return words >= shape_.min_words &&
         (shape_.use_all ? remaining == 0
                         : words == static_cast<int>(shape_.pieces.size()));
}

bool CEnumResultsPhrase::LeadsOn(int depth, int word) {
  const PhraseWordList& list = *lists_[list_of_piece_[depth]];
  Level& next = levels_[depth + 1];
  next.remaining = levels_[depth].remaining - list.word(word).counted;
  next.left = levels_[depth].left - list.key(word);
  return IsComplete(depth + 1, next.remaining) || CanContinue(depth, word);
}

}  // namespace vocor
