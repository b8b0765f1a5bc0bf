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
  // True when every member is open (an empty set is).
  bool IsOpen() const override;
  // Opens every closed member, going on after a failure; true only if all
  // end open.
  bool Open() override;
  void Close() override;
  const char* GetName() const override { return text_.c_str(); }
  // Sums over the members, clamped at INT_MAX.
  int GetWordCount() const override;
  int GetSize() const override;
  // The union of the members' enumerators: the empty enumerator for no
  // member, the member's own for one.
  EnumPtr CreateEnumerator() const override;

  void SetName(const char* name) { text_ = name != nullptr ? name : ""; }
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
  // nothing stored and is not created. The files of stored dictionaries
  // that could not be opened (and so were left out) are appended to
  // `unopened` when given. Saving returns the number saved or -1. A save
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
  std::vector<std::unique_ptr<CDictionary>> owned_;
  bool container_ = false;
};

// Makes, loads and opens the dictionary described under `key_path`
// ("Type" names the kind, exactly). Null when the type is unknown or the
// description cannot be loaded or the dictionary cannot be opened; in the
// last case the file that failed goes to *unopened, when given.
std::unique_ptr<CDictionary> CreateDictionaryFromRegistry(
    int root, const char* key_path, std::string* unopened = nullptr);

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
