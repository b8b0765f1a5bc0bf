// Which binary dictionary files a search has found damaged, and the warning
// that names them. A damaged file ends its walks early (see
// vocor_file_dictionary.h), so a search over it may have missed words
// without any other sign.
#ifndef VOCOR_APP_SEARCH_SEARCH_DAMAGE_H_
#define VOCOR_APP_SEARCH_SEARCH_DAMAGE_H_

#include <string>
#include <vector>

namespace vocor {

class CDictionary;

// The paths of the binary dictionary files under `searched` (itself, or the
// members of a set, of the sets within it and so on) whose walks or lookups
// have met damage since they were opened; each path once, in member order.
// Empty for null.
std::vector<std::string> DamagedDictionaryFiles(const CDictionary* searched);

// The warning for `files` (not empty), as UTF-8: the files are named in
// quotes, and the words found stay listed, so it says they may be
// incomplete.
std::string DamagedDictionariesMessage(const std::vector<std::string>& files);

}  // namespace vocor

#endif  // VOCOR_APP_SEARCH_SEARCH_DAMAGE_H_
