// The installed dictionaries of the application: the two containers
// ("All Dictionaries" owns every installed dictionary, "All Sets" every
// named set), the active dictionary, and their persistence in the settings
// store. The window and the command-line searcher both go through this
// class, so they can never disagree about what is installed.
//
// Construct it before any other dictionary object of the process: the
// containers then get the ids 0 and 1, which stored settings rely on.
#ifndef VOCOR_DICTIONARY_DICTIONARY_STATE_H_
#define VOCOR_DICTIONARY_DICTIONARY_STATE_H_

#include <memory>
#include <string>
#include <vector>

#include "dictionary/dictionary_set.h"

namespace vocor {

// Keys of the settings store.
extern const char kProgramKey[];       // "Software\Vocor\Vocor for Windows"
extern const char kSettingsKey[];      // ...\Settings
extern const char kDictionariesKey[];  // ...\Dictionaries
extern const char kSetsKey[];          // ...\DictionarySets

// The "*.dic" files of `folder` (folders skipped), in name order: the file
// system's own order is arbitrary. Empty when the folder cannot be read.
std::vector<std::string> ListDictionaryFiles(const std::string& folder);

class DictionaryState {
 public:
  DictionaryState();
  // Destroys the sets, then their container, then the dictionaries, then
  // theirs. Stores nothing.
  ~DictionaryState();
  DictionaryState(const DictionaryState&) = delete;
  DictionaryState& operator=(const DictionaryState&) = delete;

  CDictionarySet* all_dictionaries() const { return all_dictionaries_.get(); }
  CDictionarySet* all_sets() const { return all_sets_.get(); }
  // Never null: "All Dictionaries" when nothing else is active.
  CDictionary* active() const { return active_; }
  // `dictionary` must be one of the containers or one of their members;
  // null makes "All Dictionaries" active.
  void SetActive(CDictionary* dictionary);

  // Loads both containers (dictionaries first, so that the sets' member
  // ids resolve), then the active dictionary.
  void LoadDictionaries();
  // Whether the lists were read (or nothing was stored). While false the
  // lists in memory are not the user's, and nothing may store them.
  bool loaded() const { return loaded_; }
  // Stores both containers and the active dictionary in one transaction
  // of the store. Returns false (and changes nothing) on failure.
  bool SaveDictionaries() const;
  // "ActiveDictionary": an unknown or missing id makes "All Dictionaries"
  // active.
  void LoadActiveDictionary();
  bool SaveActiveDictionary() const;

  // Opens `path` (binary first, then text) and adds it to "All
  // Dictionaries". Returns the new dictionary, or null when it cannot be
  // opened. Stores nothing.
  CDictionary* Install(const std::string& path);
  // Removes the dictionary or set from its container and from every set,
  // and destroys it; the active one falls back to "All Dictionaries".
  // Returns false when `dictionary` is not installed (or is a container).
  bool Uninstall(CDictionary* dictionary);

  // First-run installation: every "*.dic" file in `folder` that opens is
  // added, in name order; then the active dictionary is resolved again and
  // everything is stored. Returns the number installed (nothing is stored
  // when it is 0).
  int InstallDataFolderDictionaries(const std::string& folder);

 private:
  std::unique_ptr<CDictionarySet> all_dictionaries_;
  std::unique_ptr<CDictionarySet> all_sets_;
  CDictionary* active_;
  bool loaded_ = true;
};

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_DICTIONARY_STATE_H_
