// Dictionary sets: named groups of dictionaries searched as one, as the
// union of their members' enumerators.
//
// Ownership. An ordinary set only refers to its members, which must
// outlive it. The application's two containers ("All Dictionaries" and
// "All Sets") are sets too, but they own their members: whatever a
// container loads from the settings or is given through AdoptMember is
// destroyed with it (or by DeleteAll). A deep copy owns its clones.
//
// A set must never reach itself through its members; sets loaded from the
// settings drop such members (and containers) silently.
#ifndef VOCOR_DICTIONARY_DICTIONARY_SET_H_
#define VOCOR_DICTIONARY_DICTIONARY_SET_H_

#include <memory>
#include <string>
#include <vector>

#include "dictionary/dictionary.h"
#include "dictionary/dictionary_list.h"

namespace vocor {

using DictionaryList = CList2<CDictionary*, CDictionary*>;

class CDictionarySet : public CDictionary {
 public:
  CDictionarySet();
  // A copy with a new id and the source's name. Shallow: the same members.
  // Deep: each member's clone, owned by the copy.
  CDictionarySet(const CDictionarySet& source, bool deep);
  // Forgets the members; destroys those this set owns.
  ~CDictionarySet() override;

  // Shallow copy.
  std::unique_ptr<CDictionary> Clone() const override;
  bool LoadFromRegistry(int root, const char* key_path) override;
  bool SaveToRegistry(int root, const char* key_path) const override;
  const char* GetTypeName() const override { return "Set"; }
  // Always true: a set can always be searched. A member that is not open
  // (an installed dictionary whose file could not be opened) adds no
  // words, and the others are searched as usual.
  bool IsOpen() const override;
  // Opens every closed member, going on after a failure; true only if all
  // end open.
  bool Open() override;
  void Close() override;
  const char* GetName() const override { return text_.c_str(); }
  // Sums over the members, clamped at INT_MAX.
  int GetWordCount() const override;
  int GetSize() const override;
  // Whether any open member carries scores.
  bool HasScores() const override;
  // The union of the open members' enumerators: the empty enumerator for
  // none, the member's own for one.
  EnumPtr CreateEnumerator() const override;

  void SetName(const char* name) { text_ = name != nullptr ? name : ""; }
  // Sets the members again from the ids that LoadFromRegistry read, each
  // looked up in the id map now. Loading resolves them at once and again
  // once everything stored is loaded: a set may be stored before the sets
  // and dictionaries it names, in either container.
  void ResolveStoredMembers();
  // Orders the members by name, bytes compared as unsigned values.
  void SortByName();

  DictionaryList& members() { return members_; }
  const DictionaryList& members() const { return members_; }

  // Appends `member` and takes ownership of it.
  void AdoptMember(std::unique_ptr<CDictionary> member);
  // Removes `member` from the list; returns it if this set owned it, else
  // null (and null when it was not a member).
  std::unique_ptr<CDictionary> ReleaseMember(CDictionary* member);
  bool Owns(const CDictionary* member) const;
  // Empties the list, destroying the members this set owns, last first.
  void DeleteAll();

  // Containers own their members and are never members of a set.
  void MarkAsContainer() { container_ = true; }
  bool is_container() const { return container_; }

  // Container persistence: every member under "<key>\Item-n". Loading
  // takes the items in the order of n (so the list keeps its order across
  // a save) and returns the number of members added, or -1 when the store could
  // not be read (busy, unreadable, a read error: anything but values not
  // stored), in which case the members loaded so far stay. A missing key is
  // nothing stored and is not created. A stored file dictionary whose file
  // cannot be opened is kept as a member all the same, closed
  // (IsUnavailable), so that the next save keeps it; its file is appended
  // to `unopened` when given. The sets loaded resolve their members once
  // all items are read (ResolveStoredMembers). Saving returns the number
  // saved or -1. A save
  // is one transaction of the store (joining the caller's, if one is
  // open): it leaves the complete old or the complete new list, and
  // reports success only once that is committed.
  int LoadMembersFromRegistry(int root, const char* key_path,
                              std::vector<std::string>* unopened = nullptr);
  int SaveMembersToRegistry(int root, const char* key_path) const;

 private:
  // Whether adding `candidate` as a member would let this set reach
  // itself, or would make a container a member.
  bool WouldLoop(const CDictionary* candidate) const;

  DictionaryList members_;
  // The member ids the last LoadFromRegistry read, in their stored order.
  std::vector<int> stored_ids_;
  std::vector<std::unique_ptr<CDictionary>> owned_;
  bool container_ = false;
};

// Makes and loads the dictionary described under `key_path` ("Type" names
// the kind, exactly), without opening it. Null when the type is unknown or
// the description cannot be loaded.
std::unique_ptr<CDictionary> LoadDictionaryFromRegistry(int root,
                                                        const char* key_path);

// LoadDictionaryFromRegistry, then Open. Null when that fails too; then
// the file that failed goes to *unopened, when given.
std::unique_ptr<CDictionary> CreateDictionaryFromRegistry(
    int root, const char* key_path, std::string* unopened = nullptr);

// The full path of a file dictionary; empty for a set.
std::string DictionaryFileName(const CDictionary& dictionary);

// The name a person sees, in UTF-8: a text list and a dictionary whose
// file could not be opened are named by their file, whose name may hold
// letters that engine text (Windows-1252) cannot; any other dictionary by
// its own name.
std::string DictionaryShownName(const CDictionary& dictionary);

// Whether `dictionary` is an installed file dictionary that is not open:
// its file could not be opened when the lists were loaded (a drive not
// mounted, a folder renamed). Such a dictionary stays installed and is
// stored at every save, but is not searched and cannot be made active.
bool IsUnavailable(const CDictionary& dictionary);

// Whether an opened dictionary may be installed: a binary dictionary must
// pass the full check of its file (which opening does not make), so that a
// damaged file is refused at once instead of giving partial results.
bool PassesInstallCheck(const CDictionary& dictionary);

// Opens `path` as a binary dictionary, else as a text word list. A file
// that carries the binary dictionary's magic but fails its checks is
// refused rather than read as text. Null when neither opens.
std::unique_ptr<CDictionary> OpenDictionaryFile(const char* path);

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_DICTIONARY_SET_H_
