// What the Configure Dictionaries dialog changes, kept apart from the
// application's lists until the user presses OK: the dialog installs,
// uninstalls and activates on these copies, and Commit hands them over
// and stores them, while Discard (Cancel) leaves the application's lists
// and the store as they were.
//
// The working dictionary list holds the application's own file
// dictionaries (borrowed) and the ones installed here (owned until
// Commit); every set, in the working sets and in the working dictionary
// list (a set may be stored among the dictionaries), is a copy of the
// application's, so that it can lose members, and show their loss, without
// touching the original. Nothing the application owns is destroyed before
// Commit. Dictionaries whose files could not be opened (IsUnavailable) are
// listed and can be uninstalled, but not activated.
#ifndef VOCOR_APP_DICTIONARIES_DICTIONARY_WORKING_COPY_H_
#define VOCOR_APP_DICTIONARIES_DICTIONARY_WORKING_COPY_H_

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dictionary/dictionary_set.h"
#include "dictionary/dictionary_state.h"

namespace vocor {

class DictionaryWorkingCopy {
 public:
  // `state` is borrowed, must outlive this object and must not change
  // while it lives (the dialog is modal and no search runs).
  explicit DictionaryWorkingCopy(DictionaryState* state);
  // Discards whatever was not committed.
  ~DictionaryWorkingCopy();
  DictionaryWorkingCopy(const DictionaryWorkingCopy&) = delete;
  DictionaryWorkingCopy& operator=(const DictionaryWorkingCopy&) = delete;

  // The working list of dictionaries, in order; the pointers stay valid
  // until they are uninstalled here or the copy is committed or
  // discarded. A set among them is this copy's own (WorkingCopyOf).
  const DictionaryList& dictionaries() const { return dictionaries_.members(); }
  // The working copies of the application's sets, in order.
  const std::vector<std::unique_ptr<CDictionary>>& sets() const {
    return sets_;
  }
  // Set by a successful Install, Uninstall or Activate.
  bool modified() const { return modified_; }

  // Opens `path` (binary first, then text; a binary dictionary must pass
  // the full check of its file) and appends it to the working list.
  // Null, changing nothing, when it cannot be opened.
  CDictionary* Install(const std::string& path);
  // Takes `dictionary` out of the working list and out of every working
  // set. One installed here is destroyed at once; one of the
  // application's lives on until Commit. False when it is not in the
  // working list.
  bool Uninstall(CDictionary* dictionary);
  // Makes `dictionary` (a member of the working list) the one to be
  // active after Commit. False when it is not in the working list or is
  // unavailable.
  bool Activate(CDictionary* dictionary);
  // What stands for the application's `dictionary` here: the copy of a
  // set, else `dictionary` itself.
  CDictionary* WorkingCopyOf(CDictionary* dictionary) const;

  // OK: without a change, the same as Discard (kOk, nothing stored).
  // Otherwise the working lists become the application's, the
  // dictionaries uninstalled here are destroyed, the active dictionary is
  // moved to a live object, and everything is stored in one transaction.
  // kChanged when another process stored the lists since they were
  // loaded: the application's lists are then read again from the store
  // instead of overwriting them, and this copy's changes are lost. Other
  // results are failures of the store; the lists in memory are the new
  // ones then. Call at most once, before Discard.
  ListsResult Commit();
  // Cancel: destroys what was installed here and the working sets.
  void Discard();

 private:
  CDictionary* ActiveAfterCommit() const;
  // Every working set: the copies in the working list and the sets.
  std::vector<CDictionarySet*> WorkingSets() const;
  void HandOverDictionaries();
  void HandOverSets();

  DictionaryState* state_;
  // Not a container: it owns only the dictionaries installed here.
  CDictionarySet dictionaries_;
  std::vector<std::unique_ptr<CDictionary>> sets_;
  // The copies of the application's sets stored among the dictionaries,
  // in the working list; owned here until Commit.
  std::vector<std::pair<CDictionary*, std::unique_ptr<CDictionary>>>
      listed_sets_;
  // Application set -> its working copy, for both kinds.
  std::map<const CDictionary*, CDictionary*> set_copies_;
  // The application's dictionaries uninstalled here.
  std::vector<CDictionary*> uninstalled_;
  CDictionary* activated_ = nullptr;
  bool modified_ = false;
  bool done_ = false;
};

}  // namespace vocor

#endif  // VOCOR_APP_DICTIONARIES_DICTIONARY_WORKING_COPY_H_
