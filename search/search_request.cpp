#include "search/search_request.h"

#include <algorithm>
#include <climits>

#include "dictionary/dictionary.h"
#include "dictionary/dictionary_set.h"
#include "dictionary/unicode_nfc.h"
#include "engine/charset.h"
#include "engine/cross_product.h"
#include "engine/letters.h"
#include "engine/palindrome.h"
#include "engine/pattern.h"
#include "engine/pattern_syntax.h"
#include "engine/phrase.h"
#include "engine/saturate.h"
#include "search/messages.h"

namespace vocor {
namespace {

// Stands for a typed character that Windows-1252 cannot hold: DEL is no
// word character and no stored letter, so as a pattern character it
// matches nothing, and it is not counted in letter texts.
constexpr char kUnmappable = '\x7f';

struct EngineText {
  std::string text;
  int unmappable = 0;  // characters that had no place in the code page
};

// Enters `typed` into `history` (when given), then converts it to
// lower-case engine text.
EngineText ReadInput(const std::string& typed, InputHistory* history) {
  if (history != nullptr) history->AddToHistory(typed);
  EngineText result;
  // Composed first: a letter typed as a base and a combining mark is one
  // letter of the code page, not a letter and an unmappable mark.
  result.text = Utf8ToEngine(ComposedUtf8(typed), kUnmappable);
  EngineLowerInPlace(&result.text);
  for (char c : result.text) result.unmappable += c == kUnmappable;
  return result;
}

EnumPtr RootOf(const CDictionary* dictionary) {
  if (dictionary == nullptr || !dictionary->IsOpen()) return nullptr;
  return dictionary->CreateEnumerator();
}

SearchRequestResult Refuse(int message) {
  SearchRequestResult result;
  result.message = message;
  return result;
}

SearchRequestResult Run(EnumPtr query) {
  SearchRequestResult result;
  result.query = std::move(query);
  return result;
}

EnumPtr Empty() { return std::make_unique<CEnumResultsNone>(); }

// Refuses a malformed pattern (engine text converted from what was typed,
// one character for one) with its problem and position, naming it
// `which` and input `input`. Returns whether it was malformed.
bool RefuseMalformed(const EngineText& pattern, const char* which, int input,
                     SearchRequestResult* refusal) {
  PatternError error;
  if (CheckPatternSyntax(pattern.text.c_str(), &error)) return false;
  refusal->query = nullptr;
  refusal->message = 0;
  refusal->text = MalformedPatternText(which, EngineToUtf8(error.message));
  refusal->input = input;
  refusal->position = error.position;
  return true;
}

// Letters a pattern needs: every character but spaces and stars.
int LettersNeeded(const std::string& engine_pattern) {
  std::string converted;
  LengthSpecToPattern(engine_pattern.c_str(), converted);
  return PatternMinLetters(converted.c_str());
}

// Letters the shortest phrase of `pattern` (engine text) needs when no
// word may be shorter than `min_length`, or -1 when a piece of fixed
// length is shorter than that.
int LettersNeededWithMinimum(const std::string& engine_pattern,
                             int min_length) {
  std::string converted;
  LengthSpecToPattern(engine_pattern.c_str(), converted);
  int needed = 0;
  LengthRange range;
  converted.erase(0, ReadLengthRange(converted.c_str(), &range));
  while (!converted.empty()) {
    const std::string piece = SplitFirstWord(converted);
    const int letters = PatternMinLetters(piece.c_str());
    int stars, questions;
    CountWildcards(piece.c_str(), stars, questions);
    const bool any_length = stars > 0;
    if (!any_length && letters < min_length) return -1;
    needed = SaturatingAdd(needed, std::max(letters, min_length));
  }
  return std::max(needed, range.min);
}

// Whether no phrase can have the shape of `engine_pattern` (word-length
// notation allowed): too many pieces, or a piece too long for any word.
// Refused as a crossword pattern that can match nothing is.
bool ShapeExceedsLimits(const std::string& engine_pattern) {
  std::string converted;
  LengthSpecToPattern(engine_pattern.c_str(), converted);
  return PatternExceedsLimits(converted.c_str());
}

// Reads an optional positive count: `fallback` when empty, 0 when
// invalid.
int ReadOptionalCount(const std::string& text, int fallback) {
  if (text.empty()) return fallback;
  return std::max(0, ReadLeadingInteger(text));
}

void AddIfGiven(InputHistory* history, const std::string& text) {
  if (history != nullptr) history->AddToHistory(text);
}

int LettersAvailable(const EngineText& letters) {
  int counts[kLetterTableSize];
  ParseLetterCounts(letters.text.c_str(), counts);
  // A letter outside the code page is a tile too, one that no word uses.
  return SaturatingAdd(SumLetterCounts(counts), letters.unmappable);
}

}  // namespace

bool CanSearchWith(const std::string& first_input) {
  return !first_input.empty();
}

bool IsNothingInstalled(const CDictionary* dictionary) {
  if (dictionary == nullptr) return true;
  const auto* set = dynamic_cast<const CDictionarySet*>(dictionary);
  return set != nullptr && set->is_container() && set->members().IsEmpty();
}

int Utf16Offset(const std::string& utf8, int characters) {
  int offset = 0;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if ((byte & 0xC0) == 0x80) continue;  // continuing a character
    if (characters-- <= 0) break;
    offset += byte >= 0xF0 ? 2 : 1;  // beyond the BMP: a surrogate pair
  }
  return offset;
}

int ReadLeadingInteger(const std::string& text) {
  const char* s = text.c_str();
  while (*s == ' ' || (*s >= '\t' && *s <= '\r')) ++s;
  bool negative = false;
  if (*s == '+' || *s == '-') negative = *s++ == '-';
  if (*s < '0' || *s > '9') return 0;
  const int value = ParseSaturatedDecimal(&s, INT_MAX);
  return negative ? -value : value;
}

std::string SearchRequestResult::RefusalText() const {
  if (!text.empty()) return text;
  const char* known = message != 0 ? MessageText(message) : nullptr;
  return known != nullptr ? known : "";
}

CLetterConstraint LetterPresenceConstraint(const std::string& with,
                                           const std::string& without) {
  CLetterConstraint constraint(with.empty() ? nullptr : with.c_str(), nullptr);
  bool excluded[kLetterTableSize] = {};
  bool any_excluded = false;
  for (const char c : without) {
    const auto letter = static_cast<unsigned char>(c);
    if (IsCountedCharacter(letter) && letter != kBlank) {
      excluded[EngineToLower(letter)] = true;
      any_excluded = true;
    }
  }
  if (!any_excluded) return constraint;
  constraint.hasMax = true;
  for (int c = 1; c < kLetterTableSize; ++c) {
    const bool out = excluded[EngineToLower(static_cast<unsigned char>(c))];
    constraint.maxCount[c] = out || c == kBlank ? 0 : kUnlimited;
  }
  return constraint;
}

SearchRequestResult BuildCrosswordRequest(const CrosswordInputs& inputs,
                                          const CrosswordHistories& histories,
                                          const CDictionary* dictionary) {
  EnumPtr root = RootOf(dictionary);
  if (root == nullptr) return Refuse(0);
  SearchRequestResult refusal;
  const EngineText first = ReadInput(inputs.pattern, histories.pattern);
  if (RefuseMalformed(first, "pattern", 0, &refusal)) return refusal;
  EngineText second;
  if (!inputs.and_pattern.empty()) {
    second = ReadInput(inputs.and_pattern, histories.and_pattern);
    if (RefuseMalformed(second, "second pattern", 1, &refusal)) return refusal;
  }
  EngineText with, without;
  if (!inputs.with_letters.empty()) {
    with = ReadInput(inputs.with_letters, histories.with_letters);
  }
  if (!inputs.without_letters.empty()) {
    without = ReadInput(inputs.without_letters, histories.without_letters);
  }
  const CLetterConstraint letters =
      LetterPresenceConstraint(with.text, without.text);
  if (!letters.IsSatisfiable()) return Refuse(kMsgLettersExclusive);

  EnumPtr query = ApplyWordPattern(std::move(root), first.text.c_str());
  if (IsNone(query.get())) return Refuse(0);
  if (!second.text.empty()) {
    query = ApplyWordPattern(std::move(query), second.text.c_str());
    if (IsNone(query.get())) return Refuse(kMsgPatternsExclusive);
  }
  // A letter no word can hold is one no answer contains.
  if (with.unmappable > 0) return Run(Empty());
  // After the patterns: over a phrase the letters count in the whole
  // phrase, not in each of its words.
  if (letters.HasAnyPart()) query = query->Letters(std::move(query), letters);
  return Run(std::move(query));
}

SearchRequestResult BuildCrosswordRequest(const std::string& pattern,
                                          const std::string& and_pattern,
                                          InputHistory* pattern_history,
                                          InputHistory* and_history,
                                          const CDictionary* dictionary) {
  return BuildCrosswordRequest(
      CrosswordInputs{pattern, and_pattern, "", ""},
      CrosswordHistories{pattern_history, and_history, nullptr, nullptr},
      dictionary);
}

SearchRequestResult BuildAnagramRequest(const std::string& letters,
                                        const std::string& pattern,
                                        InputHistory* letters_history,
                                        InputHistory* pattern_history,
                                        const CDictionary* dictionary) {
  AnagramHistories histories;
  histories.letters = letters_history;
  histories.pattern = pattern_history;
  return BuildAnagramRequest(AnagramInputs{letters, pattern, "", ""}, histories,
                             dictionary);
}

SearchRequestResult BuildAnagramRequest(const AnagramInputs& inputs,
                                        const AnagramHistories& histories,
                                        const CDictionary* dictionary) {
  EnumPtr root = RootOf(dictionary);
  if (root == nullptr) return Refuse(0);
  const int max_words = ReadOptionalCount(inputs.max_words, 1);
  if (max_words <= 0) return Refuse(kMsgInvalidMaxWords);
  const int min_length = ReadOptionalCount(inputs.min_word_length, 1);
  if (min_length <= 0) return Refuse(kMsgInvalidMinLength);
  const EngineText tiles = ReadInput(inputs.letters, histories.letters);
  const EngineText shape = ReadInput(inputs.pattern, histories.pattern);
  AddIfGiven(histories.max_words, inputs.max_words);
  AddIfGiven(histories.min_word_length, inputs.min_word_length);
  SearchRequestResult refusal;
  if (RefuseMalformed(shape, "pattern", 1, &refusal)) return refusal;
  if (!shape.text.empty() && max_words > 1) {
    return Refuse(kMsgLengthsAndMaxWords);
  }
  const int available = LettersAvailable(tiles);
  if (LettersNeeded(shape.text) > available) {
    return Refuse(kMsgAnagramNeedsMoreLetters);
  }
  if (min_length > 1) {
    const int needed = shape.text.empty()
                           ? min_length
                           : LettersNeededWithMinimum(shape.text, min_length);
    if (needed < 0 || needed > available) {
      return Refuse(kMsgMinWordLengthTooLong);
    }
  }
  if (ShapeExceedsLimits(shape.text)) return Refuse(0);
  if (tiles.unmappable > 0) return Run(Empty());
  return Run(BuildAnagramPhraseQuery(std::move(root), tiles.text.c_str(),
                                     shape.text.c_str(), max_words,
                                     min_length));
}

SearchRequestResult BuildHiddenRequest(const std::string& from_letters,
                                       const std::string& min_length,
                                       const std::string& must_use,
                                       InputHistory* from_history,
                                       InputHistory* min_length_history,
                                       InputHistory* must_use_history,
                                       const CDictionary* dictionary) {
  EnumPtr root = RootOf(dictionary);
  if (root == nullptr) return Refuse(0);
  const int n = min_length.empty() ? 0 : ReadLeadingInteger(min_length);
  if (!min_length.empty() && n <= 0) return Refuse(kMsgInvalidMinLength);
  if (min_length_history != nullptr)
    min_length_history->AddToHistory(min_length);
  const EngineText from = ReadInput(from_letters, from_history);
  const EngineText must = ReadInput(must_use, must_use_history);
  if (must.unmappable > 0) return Run(Empty());
  return Run(BuildLettersQuery(std::move(root), must.text.c_str(),
                               from.text.c_str(), n));
}

SearchRequestResult BuildPalindromeRequest(int mode, int another_word,
                                           const std::string& pattern,
                                           InputHistory* pattern_history,
                                           const CDictionary* dictionary) {
  EnumPtr root = RootOf(dictionary);
  if (root == nullptr) return Refuse(0);
  const EngineText shape = ReadInput(pattern, pattern_history);
  SearchRequestResult refusal;
  if (RefuseMalformed(shape, "pattern", 0, &refusal)) return refusal;
  EnumPtr query = std::make_unique<CEnumResultsPalindrome>(std::move(root),
                                                           mode, another_word);
  if (!shape.text.empty()) {
    query = ApplyWordPattern(std::move(query), shape.text.c_str());
  }
  if (IsNone(query.get())) return Refuse(0);
  return Run(std::move(query));
}

}  // namespace vocor
