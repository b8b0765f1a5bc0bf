#include "dictionary/text_words.h"

#include <algorithm>
#include <string>

#include "dictionary/unicode_nfc.h"
#include "engine/charset.h"

namespace vocor {
namespace {

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

bool IsWordByte(unsigned char c) {
  return IsEngineLetter(c) || c == '-' || c == '\'';
}

// Characters outside Windows-1252 that still separate words: controls,
// the punctuation, symbol, arrow and drawing blocks, CJK punctuation,
// private use, variation selectors, specials and pictographs. Every other
// such character is taken as a letter, so that a word containing it is
// skipped whole rather than split into pieces that are not words.
bool IsForeignSeparator(uint32_t cp) {
  return cp < 0xA0 || (cp >= 0x2000 && cp <= 0x2BFF) ||
         (cp >= 0x3000 && cp <= 0x303F) || (cp >= 0xE000 && cp <= 0xF8FF) ||
         (cp >= 0xFE00 && cp <= 0xFE0F) || cp == 0xFEFF || cp >= 0xFFF0 ||
         (cp >= 0x1F000 && cp <= 0x1FAFF);
}

// The score written after a line's ';': a whole number from kMinScore to
// kMaxScore between optional spaces and tabs; 0 for anything else.
int ParseLineScore(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return 0;
  text = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
    if (value > kMaxScore) return 0;
  }
  return IsValidScore(value) ? value : 0;
}

}  // namespace

TextWordScanner::TextWordScanner(std::string_view text) : text_(text) {
  FindWindows1252Lines();
  FindScoredLines();
}

void TextWordScanner::FindScoredLines() {
  if (text_.find(';') == std::string_view::npos) return;
  const size_t size = text_.size();
  int64_t number = 1;
  size_t start = 0;
  size_t semicolon = std::string_view::npos;
  // One pass over the bytes; the end of the text ends the last line.
  for (size_t i = 0; i <= size; ++i) {
    const char c = i < size ? text_[i] : '\n';
    if (c == ';') {
      if (semicolon == std::string_view::npos) semicolon = i;
      continue;
    }
    if (!IsLineEnd(c)) continue;
    if (semicolon != std::string_view::npos) {
      AddScoredLine(start, semicolon, i, number);
      semicolon = std::string_view::npos;
    }
    if (c == '\r' && i + 1 < size && text_[i + 1] == '\n') ++i;
    start = i + 1;
    ++number;
  }
}

void TextWordScanner::AddScoredLine(size_t start, size_t semicolon,
                                    size_t end, int64_t number) {
  const int score =
      ParseLineScore(text_.substr(semicolon + 1, end - semicolon - 1));
  scored_lines_.push_back({start, semicolon, end, score});
  if (score == 0) {
    bad_score_lines_.push_back({number, text_.substr(start, end - start)});
  } else {
    has_scores_ = true;
  }
}

inline bool TextWordScanner::ReadableAt(size_t pos, size_t* resume,
                                        TextRun* run) const {
  run->score = kDefaultScore;
  run->scored = false;
  if (scored_lines_.empty()) return true;
  // Words are mostly read in file order: the line of the last look-up, or
  // the one after it, usually holds `pos`.
  auto line = scored_lines_.begin() + static_cast<ptrdiff_t>(line_hint_);
  if (pos < line->start || pos >= line->end) {
    if (line + 1 != scored_lines_.end() && pos >= line->end &&
        pos < (line + 1)->end) {
      ++line;
    } else {
      line = std::upper_bound(
          scored_lines_.begin(), scored_lines_.end(), pos,
          [](size_t at, const ScoredLine& l) { return at < l.end; });
    }
    if (line == scored_lines_.end()) return true;
    line_hint_ = static_cast<size_t>(line - scored_lines_.begin());
    if (pos < line->start) return true;
  }
  if (line->score == 0 || pos >= line->semicolon) {
    *resume = line->end;
    return false;
  }
  run->score = line->score;
  run->scored = true;
  return true;
}

void TextWordScanner::FindWindows1252Lines() {
  constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";
  const size_t size = text_.size();
  // The mark is UTF-8 whatever follows it, and so a separator.
  const size_t first = text_.starts_with(kByteOrderMark) ? 3 : 0;
  // Where the last well-formed sequence above ASCII ends: a range is
  // extended over the lines after it only while they hold none.
  size_t utf8_seen = 0;
  size_t pos = first;
  while (pos < size) {
    if (static_cast<unsigned char>(text_[pos]) < 0x80) {
      ++pos;  // ASCII reads the same either way
      continue;
    }
    uint32_t cp;
    const int length = DecodeUtf8(text_.substr(pos), &cp);
    if (length > 0) {
      pos += length;
      utf8_seen = pos;
      continue;
    }
    // A byte that is not UTF-8: its whole line is Windows-1252. No line
    // end holds a byte above ASCII, so no sequence crosses one.
    size_t line = pos;
    while (line > first && !IsLineEnd(text_[line - 1])) --line;
    size_t next = pos + 1;
    while (next < size && !IsLineEnd(text_[next])) ++next;
    if (next < size) ++next;  // the line end belongs to its line
    ++windows1252_lines_;
    if (!windows1252_.empty() && utf8_seen <= windows1252_.back().second) {
      windows1252_.back().second = next;
    } else {
      windows1252_.emplace_back(line, next);
    }
    pos = next;
  }
}

TextWordScanner::Stretch TextWordScanner::StretchAt(size_t pos) const {
  if (windows1252_.empty()) return {true, text_.size()};
  const auto range =
      std::upper_bound(windows1252_.begin(), windows1252_.end(), pos,
                       [](size_t at, const Range& r) { return at < r.second; });
  if (range == windows1252_.end()) return {true, text_.size()};
  if (range->first <= pos) return {false, range->second};
  return {true, range->first};
}

bool TextWordScanner::IsUtf8At(size_t pos) const { return StretchAt(pos).utf8; }

int TextWordScanner::Classify(size_t pos, bool utf8, bool* is_word,
                              int* engine) const {
  const auto byte = static_cast<unsigned char>(text_[pos]);
  if (!utf8 || byte < 0x80) {
    *is_word = IsWordByte(byte);
    *engine = EngineToLower(byte);
    return 1;
  }
  uint32_t cp = 0;
  int len = DecodeUtf8(text_.substr(pos), &cp);
  if (len == 0) {  // cannot happen in a validated line; treat as separator
    *is_word = false;
    return 1;
  }
  const int mapped = UnicodeToEngine(cp);
  if (mapped >= 0) {
    *is_word = IsWordByte(static_cast<unsigned char>(mapped));
    *engine = EngineToLower(static_cast<unsigned char>(mapped));
  } else {
    *is_word = !IsForeignSeparator(cp);
    *engine = -1;
  }
  return len;
}

RunKind TextWordScanner::MapComposed(std::string_view run, char* buffer,
                                     int* length) {
  // Only runs holding a character outside the code page get here, so a
  // list of code page letters never pays for composition.
  std::string composed;
  if (!ComposeUtf8(run, &composed)) {  // composing changes nothing
    return RunKind::kForeignLetter;
  }
  int count = 0;
  for (std::string_view rest = composed; !rest.empty(); ++count) {
    uint32_t cp = 0;
    const int len = DecodeUtf8(rest, &cp);
    const int mapped = len > 0 ? UnicodeToEngine(cp) : -1;
    if (mapped < 0) return RunKind::kForeignLetter;
    if (count < kMaxWordLength) {
      buffer[count] =
          static_cast<char>(EngineToLower(static_cast<unsigned char>(mapped)));
    }
    rest.remove_prefix(len);
  }
  *length = count;
  return count <= kMaxWordLength ? RunKind::kWord : RunKind::kTooLong;
}

// Both finders are loops around this one; inlined into each, it costs the
// word finder nothing for the runs it passes over.
[[gnu::always_inline]] inline bool TextWordScanner::ScanRun(
    size_t from, TextRun* run, char* buffer) const {
  size_t pos = from;
  const size_t size = text_.size();
  Stretch stretch = StretchAt(pos);
  while (pos < size) {
    if (pos >= stretch.end) stretch = StretchAt(pos);
    bool is_word;
    int engine;
    int len = Classify(pos, stretch.utf8, &is_word, &engine);
    if (!is_word) {
      pos += len;
      continue;
    }
    // A run of word characters starts here; read it whole. It ends before
    // its line does, so one decoding holds for all of it.
    size_t resume;
    if (!ReadableAt(pos, &resume, run)) {
      pos = resume;
      continue;
    }
    run->start = pos;
    int count = 0;
    bool unmappable = false;
    while (pos < size) {
      len = Classify(pos, stretch.utf8, &is_word, &engine);
      if (!is_word) break;
      if (engine < 0) {
        unmappable = true;
      } else if (count < kMaxWordLength) {
        buffer[count] = static_cast<char>(engine);
      }
      ++count;
      pos += len;
    }
    run->end = pos;
    if (unmappable) {
      run->kind = MapComposed(text_.substr(run->start, pos - run->start),
                              buffer, &count);
    } else {
      run->kind = count <= kMaxWordLength ? RunKind::kWord : RunKind::kTooLong;
    }
    run->length = run->kind == RunKind::kWord ? count : 0;
    if (run->kind == RunKind::kWord) buffer[count] = '\0';
    return true;
  }
  return false;
}

bool TextWordScanner::FindRun(size_t from, TextRun* run, char* buffer) const {
  return ScanRun(from, run, buffer);
}

bool TextWordScanner::FindWord(size_t from, size_t* start, size_t* end,
                               char* buffer, int* length, int* score) const {
  TextRun run;
  run.end = from;
  while (ScanRun(run.end, &run, buffer)) {
    if (run.kind != RunKind::kWord) continue;
    *start = run.start;
    *end = run.end;
    *length = run.length;
    if (score != nullptr) *score = run.score;
    return true;
  }
  return false;
}

}  // namespace vocor
