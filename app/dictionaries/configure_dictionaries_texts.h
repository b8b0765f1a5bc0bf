// Texts and choices of the Configure Dictionaries dialog that need no
// widget.
#ifndef VOCOR_APP_DICTIONARIES_CONFIGURE_DICTIONARIES_TEXTS_H_
#define VOCOR_APP_DICTIONARIES_CONFIGURE_DICTIONARIES_TEXTS_H_

#include <string>
#include <vector>

#include "dictionary/dictionary_state.h"

namespace vocor {

inline constexpr const char* kConfigureDictionariesTitle =
    "Configure Dictionaries";
inline constexpr const char* kInstallDictionaryTitle = "Install Dictionary";
inline constexpr const char* kDictionaryLoadFailed = "Dictionary load failed.";

// "Are you sure you wish to remove '<name>'?"
std::string RemoveQuestion(const std::string& utf8_name);

// The Install file dialog's filters in the order the user sees them; the
// remembered filter index counts from 1 into this list.
const std::vector<std::string>& InstallFilters();

// The folder the Install file dialog opens in the first time in a run:
// the shipped language dictionaries ("Languages" beside the program, or
// "../share/vocor/Languages" once installed) when there are any, else
// `data_folder`.
std::string InstallStartFolder(const std::string& program_folder,
                               const std::string& data_folder);

// What the user is told at start when installed dictionaries' files could
// not be opened (`files`, their paths; at most ten are named). Empty when
// there is none.
std::string UnopenedDictionariesMessage(const std::vector<std::string>& files);

// The name of a dictionary whose file could not be opened, as the list of
// Configure Dictionaries shows it: "<file name> (unavailable)", UTF-8.
std::string UnavailableDisplayName(const std::string& path);

// What the user is told when OK could not store the lists; empty for kOk.
std::string ListsNotStoredMessage(ListsResult result);

}  // namespace vocor

#endif  // VOCOR_APP_DICTIONARIES_CONFIGURE_DICTIONARIES_TEXTS_H_
