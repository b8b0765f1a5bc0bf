#include "app/dictionaries/dictionary_list_order.h"

#include <algorithm>

#include "dictionary/dictionary.h"
#include "dictionary/dictionary_set.h"
#include "dictionary/text_file_dictionary.h"
#include "dictionary/vocor_file_dictionary.h"
#include "engine/charset.h"

namespace vocor {

namespace {

int Sign(int64_t difference) { return (difference > 0) - (difference < 0); }

int CompareBytes(std::string_view first, std::string_view second,
                 bool ignore_case) {
  const size_t common = std::min(first.size(), second.size());
  for (size_t i = 0; i < common; ++i) {
    unsigned char a = static_cast<unsigned char>(first[i]);
    unsigned char b = static_cast<unsigned char>(second[i]);
    if (ignore_case) {
      a = EngineToLower(a);
      b = EngineToLower(b);
    }
    if (a != b) return a < b ? -1 : 1;
  }
  return Sign(static_cast<int64_t>(first.size()) -
              static_cast<int64_t>(second.size()));
}

}  // namespace

uint32_t NextSortState(uint32_t state, uint32_t column) {
  return state == column ? column | kDescendingSort : column;
}

int CompareDictionaries(const CDictionary& first, const CDictionary& second,
                        uint32_t state) {
  const int direction = (state & kDescendingSort) != 0 ? -1 : 1;
  switch (state & ~kDescendingSort) {
    case kNameColumn:
      return direction * CompareBytes(first.GetName(), second.GetName(), false);
    case kWordsColumn:
      return direction * Sign(static_cast<int64_t>(first.GetWordCount()) -
                              second.GetWordCount());
    case kSizeColumn:
      return direction *
             Sign(static_cast<int64_t>(first.GetSize()) - second.GetSize());
    default:
      return 0;
  }
}

void SortRows(std::vector<CDictionary*>* rows, uint32_t state) {
  std::stable_sort(rows->begin(), rows->end(),
                   [state](const CDictionary* a, const CDictionary* b) {
                     return CompareDictionaries(*a, *b, state) < 0;
                   });
}

int CompareRowTexts(std::string_view first, std::string_view second) {
  return CompareBytes(first, second, true);
}

int RowInsertPosition(const std::vector<std::string_view>& names,
                      std::string_view name) {
  for (size_t i = 0; i < names.size(); ++i) {
    if (CompareRowTexts(names[i], name) > 0) return static_cast<int>(i);
  }
  return static_cast<int>(names.size());
}

DictionaryImage ImageOfDictionary(const CDictionary& dictionary) {
  if (dynamic_cast<const CDictionaryTextFile*>(&dictionary) != nullptr) {
    return DictionaryImage::kText;
  }
  if (dynamic_cast<const CDictionaryVocorFile*>(&dictionary) != nullptr) {
    return DictionaryImage::kBinary;
  }
  if (dynamic_cast<const CDictionarySet*>(&dictionary) != nullptr) {
    return DictionaryImage::kSet;
  }
  return DictionaryImage::kOther;
}

}  // namespace vocor
