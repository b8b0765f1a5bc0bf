// The dictionary entries of the Dictionaries menu, rebuilt each time the
// menu opens: "All Dictionaries" numbered 1, the sets by name, a separator,
// the installed dictionaries by name (but those whose files could not be
// opened), at most 31 numbered entries.
#ifndef VOCOR_APP_DICTIONARIES_DICTIONARY_MENU_H_
#define VOCOR_APP_DICTIONARIES_DICTIONARY_MENU_H_

#include <string>
#include <vector>

namespace vocor {

class CDictionary;
class CDictionarySet;

inline constexpr int kFirstDictionaryCommand = 32778;
inline constexpr int kLastDictionaryCommand = 32809;
inline constexpr int kMaxMenuNumber = 31;

enum class MenuMark {
  kNone,
  kActive,     // the standard check mark
  kSetMember,  // a member of the active set: the set-member image
};

struct DictionaryMenuEntry {
  int command = 0;                     // kFirstDictionaryCommand + index
  CDictionary* dictionary = nullptr;   // null: a separator
  std::string text;                    // UTF-8, with its mnemonic
  MenuMark mark = MenuMark::kNone;
  bool enabled = true;                 // false while a search runs
};

// The entries in menu order. Sorts the members of both containers by name
// (as the menu always has). The pointers are borrowed from the containers
// and stay valid until a dictionary is uninstalled.
std::vector<DictionaryMenuEntry> BuildDictionaryMenu(
    CDictionarySet* all_dictionaries, CDictionarySet* all_sets,
    const CDictionary* active, bool searching);

// A dictionary's name as UTF-8: a text list's file name as it is (its
// engine-text name has '?' for letters outside Windows-1252), the file name
// and "(unavailable)" for a dictionary whose file could not be opened, else
// GetName().
std::string DictionaryDisplayName(const CDictionary* dictionary);

// "&1 name" up to 9, "1&0 name" from 10 on; every '&' of the name doubled.
std::string DictionaryMenuText(int number, const std::string& utf8_name);

}  // namespace vocor

#endif  // VOCOR_APP_DICTIONARIES_DICTIONARY_MENU_H_
