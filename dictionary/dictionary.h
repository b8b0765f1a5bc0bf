// Everything the user searches is a CDictionary: a word source that can be
// opened, described and asked for a root enumerator. File dictionaries read
// a binary letter tree or a text word list; a set searches the union of
// other dictionaries.
//
// Ids. Every live dictionary object holds an integer id, unique among live
// objects and registered in one process-wide map, because sets and the
// settings refer to dictionaries by id. Constructors (copies included) take
// the next id from a counter; an id read back from the settings replaces
// the constructed one and moves the counter past it, unless another live
// object already holds it (a damaged store), in which case the first holder
// keeps it. Ids stay within 0 to INT_MAX - 1: once the counter reaches the
// end (a stored id near it), each new object takes the lowest id not in
// use. Not thread-safe: dictionaries live on the user-interface
// thread.
#ifndef VOCOR_DICTIONARY_DICTIONARY_H_
#define VOCOR_DICTIONARY_DICTIONARY_H_

#include <cstdint>
#include <memory>
#include <string>

#include "engine/enum_results.h"

namespace vocor {

template <typename T, typename Arg>
class CList2;

class CDictionary {
 public:
  CDictionary();
  virtual ~CDictionary();

  // A new object of the same kind with a new id; what else it copies is
  // given by each kind. The caller owns it.
  virtual std::unique_ptr<CDictionary> Clone() const = 0;

  // Read and write this object's description under one key of the
  // settings store: "ID" (and "Type" when saving) here, plus what each
  // kind adds. Load returns whether every value it needs was read.
  virtual bool LoadFromRegistry(int root, const char* key_path);
  virtual bool SaveToRegistry(int root, const char* key_path) const;

  // "VocorFile", "TextFile" or "Set".
  virtual const char* GetTypeName() const = 0;

  virtual bool IsOpen() const = 0;
  // Returns false (and stays closed) on failure; nothing is reported.
  virtual bool Open() = 0;
  virtual void Close() = 0;

  // The display name; valid until the object's path or name changes or
  // the object is destroyed.
  virtual const char* GetName() const = 0;
  virtual int GetWordCount() const = 0;
  // A size in bytes.
  virtual int GetSize() const = 0;
  // Language of the word list as a Windows locale id; 0 when unknown.
  virtual uint32_t GetLanguage() const;
  virtual std::string GetNotes() const;
  // Whether the words carry scores of their own (a scored list); without,
  // every word has kDefaultScore. False while closed.
  virtual bool HasScores() const;

  // A new root enumerator over all words, positioned at the first word.
  // Requires IsOpen(). The caller owns it; it yields nothing once the
  // dictionary is closed, and never reads freed memory.
  virtual EnumPtr CreateEnumerator() const = 0;

  int id() const { return id_; }

  // The live dictionary holding `id`, or null.
  static CDictionary* FindById(int id);
  // The counter: the id the next constructed object will get, unless that
  // id is taken or the counter is exhausted (INT_MAX).
  static int NextId();
  // Whether `id` lies in the range ids are taken from.
  static bool IsValidId(int64_t id);

 protected:
  // Copies the text field and takes a new id.
  CDictionary(const CDictionary& other);
  CDictionary& operator=(const CDictionary&) = delete;

  // Takes `stored_id` as this object's id if no other live object holds
  // it, and moves the counter past it. Returns whether the id was taken.
  bool AdoptStoredId(int stored_id);

  // A set's member list is registered for as long as the set lives, so that
  // every dictionary removes itself from it when destroyed: no set can ever
  // hold a freed member, however the set is kept.
  static void RegisterMemberList(CList2<CDictionary*, CDictionary*>* list);
  static void UnregisterMemberList(CList2<CDictionary*, CDictionary*>* list);

  // The full path of a file dictionary, the name of a set.
  std::string text_;

 private:
  int id_;
};

// "%i bytes" below 1 KiB, then "%.1f Kb", then "%.1f Mb".
std::string FormatSize(int bytes);

// Decimal digits grouped by commas: 1234567 gives 1,234,567.
std::string FormatCount(int n);

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_DICTIONARY_H_
