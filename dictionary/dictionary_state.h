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

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dictionary/dictionary_set.h"
#include "settings/settings_store.h"

namespace vocor {

// The outcome of reading or storing the lists.
enum class ListsResult {
  kOk,
  kNotLoaded,    // a save refused: the lists in memory were never read whole
  kChanged,      // a save refused: another process stored the lists since
                 // they were loaded (load them again)
  kBusy,         // another process held the store past the wait
  kReadOnly,     // the store may only be read
  kUnavailable,  // the store could not be opened
  kFailed,       // any other failure of the store
};

// Keys of the settings store.
extern const char kProgramKey[];       // "Software\Vocor\Vocor for Windows"
extern const char kSettingsKey[];      // ...\Settings
extern const char kDictionariesKey[];  // ...\Dictionaries
extern const char kSetsKey[];          // ...\DictionarySets

// The ListsResult that a failure of the store stands for (kBusy, kReadOnly,
// kUnavailable or kFailed).
ListsResult ListsResultOf(SettingsProblem problem);

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
  // Whether `dictionary` can be searched as the active one: "All
  // Dictionaries", or a member of either container ("All Sets" itself
  // cannot: it holds the sets, not words), unless it is unavailable
  // (IsUnavailable).
  bool IsActivatable(const CDictionary* dictionary) const;
  // Makes `dictionary` active; null makes "All Dictionaries" active.
  // Returns false, changing nothing, when it is not activatable.
  bool SetActive(CDictionary* dictionary);

  // Loads both containers, then resolves every set's members (a set may
  // name sets and dictionaries stored after it, in either container), then
  // the active dictionary, from one snapshot of the store that another
  // process's writer does not hold up. Installed dictionaries whose files
  // cannot be opened stay installed, unavailable (unopened_files()).
  void LoadDictionaries();
  // Whether the lists were read (or nothing was stored). While false the
  // lists in memory are not the user's, and nothing may store them.
  bool loaded() const { return loaded_; }
  // kOk, or why the last load could not read the lists.
  ListsResult load_result() const { return load_result_; }
  // Files of stored dictionaries that the last load could not open. They
  // stay in "All Dictionaries", unavailable for the session (not searched,
  // not activatable), and are stored at every save.
  const std::vector<std::string>& unopened_files() const { return unopened_; }
  // The stored lists' generation read at the last load: every save moves
  // it on, so a save can tell that another process saved in between.
  uint32_t generation() const { return generation_; }

  // Stores both containers, the active dictionary and the next generation
  // in one transaction of the store, and reports kOk exactly when all of
  // it was committed (when the caller holds a SettingsTransaction, its
  // commit decides). Refuses with kNotLoaded while !loaded(), and with
  // kChanged when the stored generation is no longer the one loaded.
  // Nothing is changed unless kOk.
  ListsResult Save() const;
  // Save() == ListsResult::kOk.
  bool SaveDictionaries() const;
  // "ActiveDictionary": an unknown, missing or not activatable id makes
  // "All Dictionaries" active. A stored choice whose file could not be
  // opened stays the stored choice (see SaveActiveDictionary) until another
  // is activated or it is uninstalled, so that it is active again once its
  // file is back.
  void LoadActiveDictionary();
  // Refused (false) while !loaded(). Stores the active dictionary's id, or
  // the kept choice of an unavailable dictionary while "All Dictionaries"
  // stands in for it.
  bool SaveActiveDictionary() const;
  // Whether SetActive changed the active dictionary since the lists were
  // last loaded or stored.
  bool active_changed() const { return active_changed_; }
  // At exit: stores the active dictionary (and moves the generation on)
  // only if active_changed(), under the same checks as Save(): refused
  // with kNotLoaded while !loaded() and with kChanged when another process
  // stored the lists since, so that a window closed late never undoes an
  // activation made elsewhere. kOk when there was nothing to store.
  ListsResult SaveActiveIfChanged();

  // Opens `path` (binary first, then text) and adds it to "All
  // Dictionaries". Returns the new dictionary, or null when it cannot be
  // opened or is a binary dictionary that fails the full check of its
  // file. Stores nothing.
  CDictionary* Install(const std::string& path);
  // Removes the dictionary or set from its container and from every set
  // that holds it (wherever that set is kept), and destroys it; the active
  // one falls back to "All Dictionaries".
  // Returns false when `dictionary` is not installed (or is a container).
  bool Uninstall(CDictionary* dictionary);

  // First-run installation: every "*.dic" file in `folder` that opens is
  // added, in name order; then the active dictionary is resolved again and
  // everything is stored. Returns the number installed (nothing is stored
  // when it is 0). Does nothing while !loaded().
  int InstallDataFolderDictionaries(const std::string& folder);

 private:
  // Sets the members of every set from their stored ids, now that
  // everything stored is loaded.
  void ResolveSetMembers();
  // Runs `write` in one transaction of the store, refusing while !loaded()
  // and when the stored generation is no longer the one loaded; then
  // moves the generation on. Nothing is changed unless kOk.
  ListsResult StoreUnderGeneration(const std::function<bool()>& write) const;

  std::unique_ptr<CDictionarySet> all_dictionaries_;
  std::unique_ptr<CDictionarySet> all_sets_;
  CDictionary* active_;
  bool loaded_ = true;
  ListsResult load_result_ = ListsResult::kOk;
  std::vector<std::string> unopened_;
  // Set by SetActive, cleared by a load and by a successful Save().
  mutable bool active_changed_ = false;
  // The stored active dictionary when it is installed but unavailable this
  // session and "All Dictionaries" stands in for it; -1 otherwise.
  int unavailable_active_id_ = -1;
  // Moved on by a successful Save(), which is logically const.
  mutable uint32_t generation_ = 0;
};

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_DICTIONARY_STATE_H_
