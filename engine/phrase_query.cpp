// The builders of phrase queries: the shapes of the anagram search's word
// choices, turned into phrase enumerators or single-word anagram queries.
#include <algorithm>

#include "engine/cross_product.h"
#include "engine/pattern.h"
#include "engine/phrase.h"
#include "engine/phrase_internal.h"

namespace vocor {

PhraseShape AnyPhraseShape(int max_words, int min_word_length) {
  PhraseShape shape;
  shape.pieces.assign(std::max(1, max_words), "*");
  shape.ascending.assign(shape.pieces.size(), true);
  shape.ascending[0] = false;
  shape.min_words = 1;
  shape.min_word_length = min_word_length;
  shape.use_all = true;
  return shape;
}

EnumPtr BuildPhraseQuery(EnumPtr source, const char* letters,
                         PhraseShape shape) {
  CLetterConstraint budget(nullptr, letters);
  if (!budget.IsSatisfiable() || shape.pieces.empty()) {
    return std::make_unique<CEnumResultsNone>();
  }
  shape.ascending.resize(shape.pieces.size(), false);
  if (!shape.ascending.empty()) shape.ascending[0] = false;
  auto phrase =
      std::make_unique<CEnumResultsPhrase>(*source, std::move(shape), budget);
  for (int i = 0; i < phrase->child_count(); ++i) {
    if (IsNone(phrase->child_at(i)))
      return std::make_unique<CEnumResultsNone>();
  }
  return phrase;
}

namespace {

// Single words: today's anagram query, with the minimum as one more
// pattern.
EnumPtr SingleWordAnagrams(EnumPtr source, const char* letters,
                           const char* length_text, int min_word_length) {
  EnumPtr query = BuildAnagramQuery(std::move(source), letters, length_text);
  if (min_word_length <= 1) return query;
  const std::string min = MinLengthPattern(min_word_length);
  return query->Pattern(std::move(query), min.c_str());
}

PhraseShape ShapeOfPieces(std::string converted, int min_word_length) {
  PhraseShape shape;
  bool any_star = false;
  while (!converted.empty()) {
    const std::string piece = SplitFirstWord(converted);
    const bool plain_star = piece == "*";
    shape.ascending.push_back(plain_star && !shape.pieces.empty() &&
                              shape.pieces.back() == "*");
    any_star = any_star || piece.find('*') != std::string::npos;
    shape.pieces.push_back(piece);
  }
  shape.min_words = static_cast<int>(shape.pieces.size());
  shape.min_word_length = min_word_length;
  shape.use_all = any_star;
  return shape;
}

}  // namespace

EnumPtr BuildAnagramPhraseQuery(EnumPtr source, const char* letters,
                                const char* length_text, int max_words,
                                int min_word_length) {
  const bool has_length = length_text != nullptr && *length_text != '\0';
  if (!has_length) {
    if (max_words <= 1) {
      return SingleWordAnagrams(std::move(source), letters, nullptr,
                                min_word_length);
    }
    // Each word takes a letter at least (words of digits alone aside), so
    // more words than letters would add nothing but levels to walk.
    int counts[kLetterTableSize];
    ParseLetterCounts(letters, counts);
    const int total = SumLetterCounts(counts);
    const int most =
        std::min(total > 0 ? total : kMaxPatternPieces, kMaxPatternPieces);
    return BuildPhraseQuery(
        std::move(source), letters,
        AnyPhraseShape(std::min(max_words, most), min_word_length));
  }
  std::string typed;
  LengthSpecToPattern(length_text, typed);
  if (PatternExceedsLimits(typed.c_str())) {
    return std::make_unique<CEnumResultsNone>();
  }
  std::string converted = CollapseWildcardRuns(typed.c_str());
  if (converted.find(' ') == std::string::npos) {
    return SingleWordAnagrams(std::move(source), letters, length_text,
                              min_word_length);
  }
  LengthRange range;
  converted.erase(0, ReadLengthRange(converted.c_str(), &range));
  return BoundPhraseLength(
      BuildPhraseQuery(std::move(source), letters,
                       ShapeOfPieces(std::move(converted), min_word_length)),
      range);
}

}  // namespace vocor
