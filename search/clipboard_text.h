// The text that Copy puts on the clipboard for the results list.
#ifndef VOCOR_SEARCH_CLIPBOARD_TEXT_H_
#define VOCOR_SEARCH_CLIPBOARD_TEXT_H_

#include <string>
#include <vector>

namespace vocor {

// The selected items (indices into `items`, taken in list order whatever
// their order in `selected`), or every item when none is selected; each
// item followed by a line feed, the last one included.
std::string ClipboardText(const std::vector<std::string>& items,
                          const std::vector<int>& selected);

}  // namespace vocor

#endif  // VOCOR_SEARCH_CLIPBOARD_TEXT_H_
