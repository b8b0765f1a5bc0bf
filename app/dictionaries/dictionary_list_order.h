// The order of the rows of the dictionary list, decided without a widget:
// the header-click sort (column and direction packed in one state word,
// as the list has always kept it) and the list's own placement of a new
// row by its name.
#ifndef VOCOR_APP_DICTIONARIES_DICTIONARY_LIST_ORDER_H_
#define VOCOR_APP_DICTIONARIES_DICTIONARY_LIST_ORDER_H_

#include <cstdint>
#include <string_view>
#include <vector>

namespace vocor {

class CDictionary;

enum DictionaryColumn : uint32_t {
  kNameColumn = 0,
  kWordsColumn = 1,
  kSizeColumn = 2,
};

// Bits 0-30: the sorted column; bit 31: descending.
inline constexpr uint32_t kDescendingSort = 0x80000000u;
// No column sorted yet: the rows stand in the list's own name order.
inline constexpr uint32_t kUnsortedState = 3;

// The state after a click on `column`: the same column clicked while it is
// ascending turns descending, anything else sorts `column` ascending.
uint32_t NextSortState(uint32_t state, uint32_t column);

// -1, 0 or 1. Names compare byte by byte as unsigned values (so case
// counts and a prefix goes first), counts and sizes numerically; a state
// naming no column compares everything equal.
int CompareDictionaries(const CDictionary& first, const CDictionary& second,
                        uint32_t state);

// `rows` in the order `state` asks for; equal rows keep their order.
void SortRows(std::vector<CDictionary*>* rows, uint32_t state);

// The list's own text order, which ignores case: -1, 0 or 1 for two
// names in engine text.
int CompareRowTexts(std::string_view first, std::string_view second);

// Where the list places a new row named `name` among rows named `names`
// (in their current order, whatever sorted them): before the first row
// whose name comes after it, so that rows inserted into an unsorted list
// stand in name order and equal names keep their insertion order.
int RowInsertPosition(const std::vector<std::string_view>& names,
                      std::string_view name);

// The row images, by the dictionary's kind.
enum class DictionaryImage { kOther = 0, kText = 1, kBinary = 2, kSet = 3 };
DictionaryImage ImageOfDictionary(const CDictionary& dictionary);

// Width of the "Words" and "Size" columns: 12 average character widths.
inline int CountColumnWidth(int ave_char_width) { return 12 * ave_char_width; }

}  // namespace vocor

#endif  // VOCOR_APP_DICTIONARIES_DICTIONARY_LIST_ORDER_H_
