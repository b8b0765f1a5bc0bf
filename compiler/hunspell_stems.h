// The stem list of a Hunspell pair (LANG.dic) read whole: each entry's
// stem in engine text with its flags, before anything is expanded, so
// that a damaged line refuses the file before a form is made and the
// forbidden words are known before the first form is.
#ifndef VOCOR_COMPILER_HUNSPELL_STEMS_H_
#define VOCOR_COMPILER_HUNSPELL_STEMS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/hunspell_affixes.h"

namespace vocor::hunspell {

struct StemList {
  struct Entry {
    uint32_t text_begin;
    uint32_t text_length;
    uint32_t flags_begin;
    uint32_t flags_count;
  };

  int64_t announced = 0;   // the count on the first line
  int64_t foreign = 0;     // entries skipped for a foreign character
  int64_t blank_ended = 0;  // entries skipped for a word ending in a blank
  // Entries whose flags break the syntax, read as far as they can be, and
  // the line numbers of the first few.
  int64_t broken_flags = 0;
  std::vector<int64_t> broken_flag_lines;
  std::vector<std::string> foreign_examples;  // UTF-8, the first few
  std::vector<Entry> entries;                 // the stems kept
  std::string text;                           // their engine text
  std::vector<FlagId> flags;                  // their flags

  std::string_view Stem(const Entry& entry) const {
    return std::string_view(text).substr(entry.text_begin, entry.text_length);
  }
  int64_t read() const {
    return static_cast<int64_t>(entries.size()) + foreign + blank_ended;
  }
};

// Reads the UTF-8 `text` of a stem list with the affix file's `rules`.
// On failure *line and *reason say where and why.
bool ReadStemList(std::string_view text, const AffixRules& rules,
                  size_t max_examples, StemList* stems, int64_t* line,
                  std::string* reason);

}  // namespace vocor::hunspell

#endif  // VOCOR_COMPILER_HUNSPELL_STEMS_H_
