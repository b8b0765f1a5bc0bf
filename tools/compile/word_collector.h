// Gathers the words of the compiler's input lists: the word syntax and
// decoding of text dictionaries, lower-cased, each word kept once, and
// only words that a binary dictionary can store.
#ifndef VOCOR_TOOLS_COMPILE_WORD_COLLECTOR_H_
#define VOCOR_TOOLS_COMPILE_WORD_COLLECTOR_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace vocor {

class WordCollector {
 public:
  // With `fold_accents`, letters above 127 are spelled in ASCII (see
  // dictionary/accent_fold.h) instead of making their word unstorable.
  explicit WordCollector(bool fold_accents) : fold_accents_(fold_accents) {}

  // Told how many bytes of the list have been scanned; returns false to
  // stop the scan.
  using ScanProgress = std::function<bool(size_t scanned)>;

  // Adds the words of one whole input list (UTF-8 or Windows-1252, told
  // apart as text dictionaries do). With `progress`, it is asked every few
  // thousand words whether to go on; returns false when it said no, with
  // the words before that point added.
  bool AddList(std::string_view text, const ScanProgress& progress = nullptr);

  // Distinct storable words (engine text), in order of first appearance.
  const std::vector<std::string>& words() const { return words_; }
  // Every word found, duplicates and skipped words included.
  int64_t read() const { return read_; }
  // Words dropped because a letter lies outside 1 to 126 or, once folded,
  // they grew beyond the longest storable word.
  int64_t skipped() const { return skipped_; }
  // Storable words seen again after their first appearance.
  int64_t duplicates() const { return duplicates_; }

 private:
  // Brings `word` to its stored form in *stored; false when it has none.
  bool StoredForm(std::string_view word, std::string* stored) const;

  bool fold_accents_;
  std::vector<std::string> words_;
  std::unordered_set<std::string> seen_;
  int64_t read_ = 0;
  int64_t skipped_ = 0;
  int64_t duplicates_ = 0;
};

}  // namespace vocor

#endif  // VOCOR_TOOLS_COMPILE_WORD_COLLECTOR_H_
