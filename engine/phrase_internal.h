// Shared by the files of the phrase enumerator and its builders; not for
// other callers.
#ifndef VOCOR_ENGINE_PHRASE_INTERNAL_H_
#define VOCOR_ENGINE_PHRASE_INTERNAL_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/pattern.h"
#include "engine/phrase.h"
#include "engine/score.h"

namespace vocor {

// The pattern of words at least `min_word_length` characters long.
inline std::string MinLengthPattern(int min_word_length) {
  std::string pattern(std::min(min_word_length, kMaxLengthRun), '?');
  pattern.push_back('*');
  return pattern;
}

struct CEnumResultsPhrase::Level {
  std::vector<int> fits;  // indices into the piece's list, ascending
  size_t cursor = 0;      // next entry of `fits` to try
  size_t source_at = 0;   // progress while filling `fits`
  bool filled = false;
  bool scanning = false;    // filling by a scan of the source, not by groups
  std::vector<int> budget;  // what the words before this one left
  uint64_t left = 0;        // the same as a letter key, when keyed
  int remaining = 0;        // limited letters and blanks in `budget`
  int score = kMaxScore;    // the lowest score of the words before
};

// One step of the exact cover: what the words taken so far left, the
// words that still fit it and are not left out, and those tried here.
struct CEnumResultsPhrase::CoverEntry {
  uint64_t key;    // the word's letter key, when keyed
  uint32_t slots;  // bit s: the word uses budget slot s, when keyed
  int word;
  int counted;
};

struct CEnumResultsPhrase::CoverStep {
  // Kept with their keys: scans read them in order, never the list.
  std::vector<CoverEntry> candidates;  // ascending
  std::vector<int> branch;             // ascending; a subset of the candidates
  // Whether the step filled its candidates and buckets; one that did not
  // took its branch from the buckets of the last step before that did.
  bool materialized = false;
  // The candidates using each budget slot: slot s's are buckets[
  // bucket_begin[s], bucket_begin[s + 1]), ascending.
  std::vector<int> bucket_begin;
  std::vector<CoverEntry> buckets;
  // A step that did not fill its candidates, with three words to go: a
  // few buckets of the last step that did, filtered to this step's budget
  // (slot s's where has_near[s] is set).
  std::vector<char> has_near;
  std::vector<std::vector<CoverEntry>> near_buckets;
  size_t cursor = 0;      // next entry of `branch` to try
  bool expanded = false;  // `branch` is filled
  std::vector<int> budget;
  uint64_t left = 0;      // the same as a letter key, when keyed
  int remaining = 0;      // limited letters and blanks in `budget`
  int score = kMaxScore;  // the lowest score of the words taken
};

}  // namespace vocor

#endif  // VOCOR_ENGINE_PHRASE_INTERNAL_H_
