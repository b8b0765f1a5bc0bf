#include "dictionary/text_words.h"

#include <algorithm>
#include <string>

#include "dictionary/unicode_nfc.h"
#include "engine/charset.h"

namespace vocor {
namespace {

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

}  // namespace

TextWordScanner::TextWordScanner(std::string_view text) : text_(text) {
  FindWindows1252Lines();
}

void TextWordScanner::FindWindows1252Lines() {
  constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";
  const size_t size = text_.size();
  // The mark is UTF-8 whatever follows it, and so a separator.
  size_t line = text_.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
  // Whether the last line with bytes above 127 was read as Windows-1252:
  // a range stays open over the ASCII lines after it.
  bool open = false;
  while (line < size) {
    size_t next = line;
    bool high = false;
    for (; next < size && text_[next] != '\n' && text_[next] != '\r'; ++next) {
      high |= static_cast<unsigned char>(text_[next]) >= 0x80;
    }
    if (next < size) ++next;  // the line end belongs to its line
    if (high) {
      const bool utf8 = IsValidUtf8(text_.substr(line, next - line));
      if (!utf8) {
        ++windows1252_lines_;
        if (open) {
          windows1252_.back().second = next;
        } else {
          windows1252_.emplace_back(line, next);
        }
      }
      open = !utf8;
    }
    line = next;
  }
}

TextWordScanner::Stretch TextWordScanner::StretchAt(size_t pos) const {
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

bool TextWordScanner::FindRun(size_t from, TextRun* run, char* buffer) const {
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

bool TextWordScanner::FindWord(size_t from, size_t* start, size_t* end,
                               char* buffer, int* length) const {
  TextRun run;
  run.end = from;
  while (FindRun(run.end, &run, buffer)) {
    if (run.kind != RunKind::kWord) continue;
    *start = run.start;
    *end = run.end;
    *length = run.length;
    return true;
  }
  return false;
}

}  // namespace vocor
