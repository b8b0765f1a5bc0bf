#include "compiler/word_collector.h"

#include "dictionary/accent_fold.h"
#include "dictionary/text_words.h"
#include "dictionary/vocor_format.h"
#include "engine/charset.h"

namespace vocor {
namespace {

bool AllStorable(std::string_view word) {
  for (char c : word) {
    if (!IsVocorLetter(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

bool AllAscii(std::string_view word) {
  for (char c : word) {
    if (static_cast<unsigned char>(c) > 127) return false;
  }
  return true;
}

bool IsPossessive(std::string_view word) {
  return word.size() > 2 && word.ends_with("'s");
}

// Single capitals stay: "I" and "A" are words, and so is every letter in
// a crossword's eyes.
bool IsAbbreviation(std::string_view written, bool utf8) {
  const std::string engine =
      utf8 ? Utf8ToEngine(written) : std::string(written);
  int capitals = 0;
  for (char ch : engine) {
    const auto c = static_cast<unsigned char>(ch);
    if (!IsEngineLetter(c)) continue;
    if (EngineToLower(c) == c) return false;
    ++capitals;
  }
  return capitals >= 2;
}

}  // namespace

bool WordCollector::AddList(std::string_view text,
                            const ScanProgress& progress) {
  // Often enough for a progress bar, rarely enough to cost nothing.
  constexpr int64_t kWordsPerReport = 8192;
  const bool utf8 = TextWordScanner::DetectUtf8(text);
  const TextWordScanner scanner(text, utf8);
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
    const std::string_view word(buffer, length);
    if (LeftOut(text.substr(start, from - start), utf8, word)) continue;
    if (!StoredForm(word, &stored)) {
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

bool WordCollector::LeftOut(std::string_view written, bool utf8,
                            std::string_view word) {
  if (choice_.skip_possessives && IsPossessive(word)) {
    ++possessives_;
    return true;
  }
  if (choice_.skip_abbreviations && IsAbbreviation(written, utf8)) {
    ++abbreviations_;
    return true;
  }
  return false;
}

bool WordCollector::StoredForm(std::string_view word,
                               std::string* stored) const {
  const bool fold = choice_.fold_accents && !choice_.keep_code_page;
  if (fold && !AllAscii(word)) {
    if (!FoldToAscii(word, stored)) return false;
    // Folding spells some letters with two (ß is ss), so a word may outgrow
    // the reader's word buffer.
    return stored->size() <= static_cast<size_t>(kMaxWordLength);
  }
  if (!choice_.keep_code_page && !AllStorable(word)) return false;
  stored->assign(word);
  return true;
}

}  // namespace vocor
