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
};

}  // namespace vocor

#endif  // VOCOR_ENGINE_PHRASE_INTERNAL_H_
