#include "compiler/word_collector.h"

#include <algorithm>

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

// Hyphens and apostrophes join letters; at either end of an entry they
// are what is left of a cut.
bool IsFragment(char edge) { return edge == '-' || edge == '\''; }

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

bool WordCollector::AddList(std::string_view text, const ScanProgress& progress,
                            int list_score) {
  // Often enough for a progress bar, rarely enough to cost nothing.
  constexpr int64_t kWordsPerReport = 8192;
  const TextWordScanner scanner(text);
  windows1252_lines_ += scanner.windows1252_lines();
  NoteBadScores(scanner);
  ++lists_;
  if (list_score != 0 || scanner.has_scores()) has_scores_ = true;
  char buffer[kWordBufferSize];
  TextRun run;
  std::string stored;
  while (scanner.FindRun(run.end, &run, buffer)) {
    if (progress && read_ % kWordsPerReport == kWordsPerReport - 1 &&
        !progress(run.start)) {
      return false;
    }
    ++read_;
    const std::string_view word(buffer, run.length);
    if (!Acceptable(run, word)) continue;
    const std::string_view written =
        text.substr(run.start, run.end - run.start);
    const ScoreTally entry = ScoreTally::Of(run, list_score);
    if (LeftOut(written, scanner.IsUtf8At(run.start), word, entry)) continue;
    if (!StoredForm(word, &stored)) continue;
    AddWord(stored, entry);
  }
  return true;
}

void WordCollector::AddListPart(std::string_view text) {
  // AddList counts a list of its own.
  if (lists_ > 0) --lists_;
  AddList(text);
}

ScoreTally ScoreTally::Of(const TextRun& run, int list_score) {
  ScoreTally tally;
  if (list_score != 0) {
    tally.listed = true;
    tally.best = static_cast<uint8_t>(
        run.scored ? std::max(list_score, run.score) : list_score);
  } else if (run.scored) {
    tally.best = static_cast<uint8_t>(run.score);
  } else {
    tally.plain = true;
  }
  return tally;
}

void ScoreTally::Add(const ScoreTally& entry) {
  best = std::max(best, entry.best);
  plain = plain || entry.plain;
  listed = listed || entry.listed;
}

int ScoreTally::Final() const {
  if (listed || !plain) return best;
  return std::max<int>(best, kDefaultScore);
}

void WordCollector::AddWord(const std::string& stored,
                            const ScoreTally& entry) {
  const auto [at, added] = seen_.try_emplace(stored, words_.size());
  if (!added) {
    ++duplicates_;
    tallies_[at->second].Add(entry);
    return;
  }
  words_.push_back(stored);
  tallies_.push_back(entry);
}

void WordCollector::NoteAbbreviation(std::string_view word,
                                     const ScoreTally& entry) {
  std::string key(word);
  const bool fold = choice_.fold_accents && !choice_.keep_code_page;
  if (fold && !AllAscii(word) && !FoldToAscii(word, &key)) return;
  abbreviations_seen_[key].Add(entry);
}

void WordCollector::Finish() {
  size_t kept = 0;
  scores_.clear();
  for (size_t i = 0; i < words_.size(); ++i) {
    const int score = tallies_[i].Final();
    const auto abbreviation = abbreviations_seen_.find(words_[i]);
    if (abbreviation != abbreviations_seen_.end() &&
        score < abbreviation->second.Final()) {
      ++abbreviations_;
      continue;
    }
    if (kept != i) words_[kept] = std::move(words_[i]);
    scores_.push_back(static_cast<uint8_t>(score));
    ++kept;
  }
  words_.resize(kept);
  tallies_.clear();
  seen_.clear();
  abbreviations_seen_.clear();
}

void WordCollector::NoteBadScores(const TextWordScanner& scanner) {
  for (const BadScoreLine& bad : scanner.bad_score_lines()) {
    ++bad_score_lines_;
    if (bad_scores_.size() < kMaxBadScoresKept) {
      bad_scores_.push_back({lists_, bad.number, std::string(bad.text)});
    }
  }
}

bool WordCollector::Acceptable(const TextRun& run, std::string_view word) {
  switch (run.kind) {
    case RunKind::kTooLong:
      ++skipped_.too_long;
      return false;
    case RunKind::kForeignLetter:
      ++skipped_.foreign_letters;
      return false;
    case RunKind::kWord:
      break;
  }
  if (IsFragment(word.front()) || IsFragment(word.back())) {
    ++skipped_.fragments;
    return false;
  }
  return true;
}

bool WordCollector::LeftOut(std::string_view written, bool utf8,
                            std::string_view word, const ScoreTally& entry) {
  if (choice_.skip_possessives && IsPossessive(word)) {
    ++possessives_;
    return true;
  }
  if (choice_.skip_abbreviations && IsAbbreviation(written, utf8)) {
    ++abbreviations_;
    NoteAbbreviation(word, entry);
    return true;
  }
  return false;
}

bool WordCollector::StoredForm(std::string_view word, std::string* stored) {
  const bool fold = choice_.fold_accents && !choice_.keep_code_page;
  if (fold && !AllAscii(word)) {
    if (!FoldToAscii(word, stored)) {
      ++skipped_.foreign_letters;
      return false;
    }
    // Folding spells some letters with two (ß is ss), so a word may outgrow
    // the reader's word buffer.
    if (stored->size() > static_cast<size_t>(kMaxWordLength)) {
      ++skipped_.too_long;
      return false;
    }
    return true;
  }
  if (!choice_.keep_code_page && !AllStorable(word)) {
    ++skipped_.foreign_letters;
    return false;
  }
  stored->assign(word);
  return true;
}

}  // namespace vocor
