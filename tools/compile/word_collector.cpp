#include "tools/compile/word_collector.h"

#include "dictionary/accent_fold.h"
#include "dictionary/text_words.h"

namespace vocor {
namespace {

// Binary dictionaries store letters 1 to 126 only; text words never hold
// bytes below 32, so only the upper half can break the rule.
bool AllStorable(std::string_view word) {
  for (char c : word) {
    if (static_cast<unsigned char>(c) > 126) return false;
  }
  return true;
}

}  // namespace

bool WordCollector::AddList(std::string_view text,
                            const ScanProgress& progress) {
  // Often enough for a progress bar, rarely enough to cost nothing.
  constexpr int64_t kWordsPerReport = 8192;
  const TextWordScanner scanner(text, TextWordScanner::DetectUtf8(text));
  char buffer[kWordBufferSize];
  size_t from = 0;
  size_t start;
  int length;
  std::string stored;
  while (scanner.FindWord(from, &start, &from, buffer, &length)) {
    if (progress && read_ % kWordsPerReport == kWordsPerReport - 1 &&
        !progress(start)) {
      return false;
    }
    ++read_;
    if (!StoredForm(std::string_view(buffer, length), &stored)) {
      ++skipped_;
      continue;
    }
    if (!seen_.insert(stored).second) {
      ++duplicates_;
      continue;
    }
    words_.push_back(stored);
  }
  return true;
}

bool WordCollector::StoredForm(std::string_view word,
                               std::string* stored) const {
  if (AllStorable(word)) {
    stored->assign(word);
    return true;
  }
  if (!fold_accents_ || !FoldToAscii(word, stored)) return false;
  // Folding spells some letters with two (ß is ss), so a word may outgrow
  // the reader's word buffer.
  return stored->size() <= static_cast<size_t>(kMaxWordLength);
}

}  // namespace vocor
