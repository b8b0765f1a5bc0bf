// The per-user settings store: a tree of keys holding named text and 32-bit
// values, kept in one SQLite database per user, with the behaviour callers
// rely on:
//
//  * Key paths use backslashes between levels ("Software\Vocor\...").
//  * Key and value names compare without regard to ASCII case.
//  * Opening a key creates it (and every missing ancestor), so reading a
//    value below a missing key creates that key empty and then fails;
//    except inside a SettingsTransaction of kRead mode, and in a store
//    opened read-only, where reads create nothing.
//  * Every call stands alone: it opens what it names, does one operation
//    and is done. Nothing above SQLite is cached between calls, so another
//    process writing the same store is seen at once.
//
// Location: $XDG_CONFIG_HOME/Vocor/settings.sqlite, or
// ~/.config/Vocor/settings.sqlite when XDG_CONFIG_HOME is unset. The root
// selector kCurrentUser names that file; root 0 would be a machine-wide
// tree, which Vocor does not keep, and fails every call.
//
// None of these functions throws or shows a message; failures are results.
//
// Details this implementation settles:
//  * Empty levels in a key path are ignored: leading, trailing and doubled
//    backslashes change nothing. A path with no level at all (null, "",
//    "\\") fails every call, DeleteRegTree included.
//  * Only ASCII letters fold; other bytes compare exactly. Names keep the
//    spelling they were first written with. Subkeys enumerate by their
//    names with letters upper-cased, byte by byte, as the registry orders
//    them (so '_' comes after the letters).
//  * A SettingsKey looks its key up by path at every call; once the key is
//    deleted it has no subkeys.
//  * A null value name is the key's unnamed value (as with "").
//  * The store is an SQLite database in WAL mode. Other processes may use
//    it at the same time; a call waits a few seconds for another writer
//    before failing. A process killed at any moment leaves either all or
//    none of each call (or SettingsTransaction).
//  * A file that is damaged or is not a settings store is renamed
//    "settings.sqlite.damaged-YYYYMMDD-HHMMSS" (never deleted) and a fresh
//    store takes its place, silently.
//  * A store file (or, before it exists, its folder) that this process may
//    not write is opened read-only: reads work, every write fails and
//    LastSettingsProblem() says kReadOnly. The tables are created only when
//    missing, so opening never waits for another process's writer.
//  * One connection is kept open between calls (never any data). Use the
//    store from one thread only. A child made by fork() must not use the
//    store while the parent has it open: call CloseSettingsStore() before
//    fork() when both will use it.
#ifndef VOCOR_SETTINGS_SETTINGS_STORE_H_
#define VOCOR_SETTINGS_SETTINGS_STORE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vocor {

// Root selector for the current user's store. Any nonzero value selects it.
constexpr int kCurrentUser = 1;

// Writes `text` as a string value (stored with its terminating zero).
bool WriteRegString(int root, const char* key_path, const char* value_name,
                    const char* text);

// Reads a value into *out, cut at its first zero byte. The stored type is
// not checked. On failure *out is untouched.
bool ReadRegString(int root, const char* key_path, const char* value_name,
                   std::string* out);

// Writes a 32-bit value.
bool WriteRegDword(int root, const char* key_path, const char* value_name,
                   uint32_t value);

// Reads at most 4 bytes of a value into *out; the stored type is not
// checked. On failure *out is untouched. The bytes are taken as a
// little-endian number: a value shorter than 4 bytes gives its bytes with
// zeros above them, a longer one (a string) its first 4 bytes.
bool ReadRegDword(int root, const char* key_path, const char* value_name,
                  uint32_t* out);

// Deletes the key with all its subkeys and values in one step. Fails on a
// null or empty path and on a key that does not exist.
bool DeleteRegTree(int root, const char* key_path);

// How the subkey names of a key were read.
enum class KeyListing { kListed, kMissing, kFailed };

// Stores in *names the names of the subkeys of `key_path`, in the order of
// SettingsKey::SubkeyName, read in one query. Unlike every other call it
// creates nothing: a missing key gives kMissing and no names. kFailed when
// the store could not be read.
KeyListing ListSubkeys(int root, const char* key_path,
                       std::vector<std::string>* names);

// Why the most recent failing call failed.
enum class SettingsProblem {
  kNone,         // no call has failed yet
  kUnavailable,  // the store could not be opened
  kBusy,         // another process held the store past the wait
  kReadOnly,     // a write to a store this process may only read
  kError,        // any other failure of the store
};

// The number of calls that have failed, since the process started, for any
// reason other than a missing key or value (a read that finds nothing is
// not a failure of the store). Compare it before and after a group of
// calls to learn whether the store let any of them down.
uint64_t SettingsFailureCount();
SettingsProblem LastSettingsProblem();

// For tests: makes every store opened from now on read-only, as if its
// file or folder were not writable (which root cannot be denied). Takes
// effect at the next open; call CloseSettingsStore() first.
void ForceSettingsStoreReadOnlyForTesting(bool read_only);

// An open key. Created by OpenSettingsKey; closing is the destructor.
class SettingsKey {
 public:
  virtual ~SettingsKey() = default;

  // Stores in *name the name of the subkey at `index`, with subkeys ordered
  // by name without regard to case (so "Item-10" comes before "Item-2").
  // Returns false when there is no subkey at that index.
  virtual bool SubkeyName(int index, std::string* name) const = 0;
};

// Create-or-open the key at `key_path`. Returns null on failure (root 0, a
// store that cannot be opened, an empty path).
std::unique_ptr<SettingsKey> OpenSettingsKey(int root, const char* key_path);

// Groups every store call made while it lives into one atomic change of the
// current user's store: the destructor rolls back unless Commit() succeeded.
// Transactions do not nest: a second one while the first lives is inactive
// and its calls join the outer one.
//
// A kWrite transaction takes the store's write lock at once (waiting for
// another process's writer as a call does), so a read, change and write
// inside it cannot interleave with another process. A kRead transaction
// reads one consistent snapshot and never waits for writers.
//
// When the transaction cannot begin, every store call fails while it lives
// (joined ones included), so that nothing is written piecemeal.
class SettingsTransaction {
 public:
  enum class Mode { kWrite, kRead };

  explicit SettingsTransaction(Mode mode = Mode::kWrite);
  ~SettingsTransaction();
  SettingsTransaction(const SettingsTransaction&) = delete;
  SettingsTransaction& operator=(const SettingsTransaction&) = delete;

  // True when this object owns an open transaction.
  bool active() const { return active_; }

  // True when calls made now run in a transaction: this object's own, or
  // the outer one it joined. False once the transaction failed to begin.
  bool ok() const;

  // Makes the changes durable. Returns false (and rolls back) on failure.
  // A joined transaction commits nothing itself: true unless the outer one
  // failed to begin.
  bool Commit();

 private:
  bool active_ = false;
  bool outer_ = false;
  bool failed_ = false;
};

// Path of the database file that kCurrentUser names, from the environment
// as it is now. Relative values of XDG_CONFIG_HOME and HOME are ignored, as
// XDG asks; when no home folder can be found at all, the result is empty and
// every call fails.
std::string SettingsStorePath();

// Closes the connection kept between calls; the next call opens the store
// afresh. Returns false, and closes nothing, while a SettingsTransaction
// lives. Call it at shutdown: closing the last connection folds SQLite's
// WAL into the store file and removes the WAL (left open, the store is
// still safe, and the next open does the same).
bool CloseSettingsStore();

}  // namespace vocor

#endif  // VOCOR_SETTINGS_SETTINGS_STORE_H_
