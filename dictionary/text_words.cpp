#include "dictionary/text_words.h"

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

TextWordScanner::TextWordScanner(std::string_view text, bool utf8)
    : text_(text), utf8_(utf8) {}

bool TextWordScanner::DetectUtf8(std::string_view text) {
  return IsValidUtf8(text);
}

int TextWordScanner::Classify(size_t pos, bool* is_word, int* engine) const {
  const auto byte = static_cast<unsigned char>(text_[pos]);
  if (!utf8_ || byte < 0x80) {
    *is_word = IsWordByte(byte);
    *engine = EngineToLower(byte);
    return 1;
  }
  uint32_t cp = 0;
  int len = DecodeUtf8(text_.substr(pos), &cp);
  if (len == 0) {  // cannot happen in a validated list; treat as separator
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

bool TextWordScanner::MapComposed(std::string_view run, char* buffer,
                                  int* length) {
  // Only runs holding a character outside the code page get here, so a
  // list of code page letters never pays for composition.
  std::string composed;
  if (!ComposeUtf8(run, &composed)) return false;  // composing changes nothing
  int count = 0;
  for (std::string_view rest = composed; !rest.empty(); ++count) {
    uint32_t cp = 0;
    const int len = DecodeUtf8(rest, &cp);
    const int mapped = len > 0 ? UnicodeToEngine(cp) : -1;
    if (mapped < 0 || count >= kMaxWordLength) return false;
    buffer[count] =
        static_cast<char>(EngineToLower(static_cast<unsigned char>(mapped)));
    rest.remove_prefix(len);
  }
  *length = count;
  return true;
}

bool TextWordScanner::FindWord(size_t from, size_t* start, size_t* end,
                               char* buffer, int* length) const {
  size_t pos = from;
  const size_t size = text_.size();
  while (pos < size) {
    bool is_word;
    int engine;
    int len = Classify(pos, &is_word, &engine);
    if (!is_word) {
      pos += len;
      continue;
    }
    // A run of word characters starts here; read it whole.
    const size_t run_start = pos;
    int count = 0;
    bool unmappable = false;
    while (pos < size) {
      len = Classify(pos, &is_word, &engine);
      if (!is_word) break;
      if (engine < 0) {
        unmappable = true;
      } else if (count < kMaxWordLength) {
        buffer[count] = static_cast<char>(engine);
      }
      ++count;
      pos += len;
    }
    bool acceptable = !unmappable && count <= kMaxWordLength;
    if (unmappable) {
      acceptable =
          MapComposed(text_.substr(run_start, pos - run_start), buffer, &count);
    }
    if (acceptable) {
      buffer[count] = '\0';
      *start = run_start;
      *end = pos;
      *length = count;
      return true;
    }
  }
  return false;
}

}  // namespace vocor
