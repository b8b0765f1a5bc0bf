// Definitions of words from the dictionary-server databases already on the
// machine (the format of RFC 2229 servers, as Debian installs them in
// /usr/share/dictd: dict-gcide, dict-wn, dict-freedict-*).
//
// A database is a pair of files: NAME.index, one line per headword
// ("word<TAB>offset<TAB>length", the numbers in base 64, the lines sorted),
// and NAME.dict or NAME.dict.dz holding the entry texts (.dz is dictzip: a
// gzip file whose extra field lists the compressed sizes of fixed-size
// chunks, so that one entry is inflated from its own chunks only).
//
// Cost: nothing is read until a database is first asked for. Opening one
// reads its header entries (short name, sort mode, the dictzip chunk
// table); a look-up is then a binary search of the index with positioned
// reads (about twenty small reads for a few hundred thousand headwords)
// and the inflation of the one or two chunks holding each entry. The index
// is never loaded into memory, and it is not mapped either: a file cut
// short under a mapping faults the process (SIGBUS), so the files are read
// with pread and a short read is a refusal like any other damage.
//
// Matching: a word matches a headword when both are equal in the order the
// index is sorted in: canonically composed (NFC), lower case, accents kept
// ("école" is not "ecole"), and, unless the database keeps all characters
// (its "00-database-allchars" entry), with ASCII characters other than
// letters, digits and spaces ignored ("abat-jour" finds "abatjour").
//
// Damage: a database that is damaged or truncated is refused with a message
// naming the file and what is wrong with it (bad base 64, an offset past
// the end, a bad dictzip header, a chunk that does not inflate); nothing
// crashes and nothing else is refused with it.
#ifndef VOCOR_DEFINITIONS_DEFINITIONS_H_
#define VOCOR_DEFINITIONS_DEFINITIONS_H_

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace vocor {

class DictDatabase;

// A database found on disk, not yet opened.
struct DatabaseFiles {
  std::string name;                  // the file stem: "gcide", "freedict-fra-eng"
  std::filesystem::path index_path;  // NAME.index
  std::filesystem::path data_path;   // NAME.dict.dz or NAME.dict
};

// The entries of one database for one word.
struct DatabaseEntries {
  std::string database;              // DatabaseFiles::name
  std::string title;                 // its short name, or `database` when it has none
  std::vector<std::string> entries;  // UTF-8 texts in index order, each once
};

struct DefinitionLookup {
  // The databases holding the word, in the order they were asked for.
  std::vector<DatabaseEntries> found;
  // One message per database that was refused (damaged, unreadable) or
  // asked for but not found: "gcide.dict.dz: chunk 12 does not inflate".
  std::vector<std::string> errors;
};

// Where Debian installs the databases: {"/usr/share/dictd"}.
std::vector<std::filesystem::path> SystemDatabaseFolders();

// The databases in `folders`: every NAME.index with a NAME.dict.dz (or,
// failing that, NAME.dict) beside it, sorted by name; a name found in two
// folders is taken from the first. Missing folders are skipped.
std::vector<DatabaseFiles> FindDatabases(
    const std::vector<std::filesystem::path>& folders);

// The databases that answer for a dictionary of `language` (a Windows
// locale id as CDictionary::GetLanguage gives; 0 is unknown), among the
// names in `available`: English (and unknown) uses gcide and wn, a language
// with a FreeDict database into English uses "freedict-LLL-eng" (LLL its
// ISO 639-3 code), anything else nothing. Names not in `available` are
// left out, so the result may be empty.
std::vector<std::string> DefaultDatabases(
    uint32_t language, const std::vector<DatabaseFiles>& available);

// What to tell a user who has no database: the Debian packages that
// provide them. Plain text, several lines.
std::string NoDatabaseAdvice();

// The databases of some folders, opened on first use and kept open.
//
// Thread safety: every member may be called from any thread; calls are
// serialised by an internal mutex (a look-up takes a millisecond or two,
// the first use of a database some more). Results are returned by value
// and stay valid after the library is gone. The library owns its open
// files; destroying it closes them.
class DefinitionLibrary {
 public:
  // Looks in `folders` (by default the system folder).
  explicit DefinitionLibrary(
      std::vector<std::filesystem::path> folders = SystemDatabaseFolders());
  ~DefinitionLibrary();
  DefinitionLibrary(const DefinitionLibrary&) = delete;
  DefinitionLibrary& operator=(const DefinitionLibrary&) = delete;

  // Adds a folder after the others; its databases are found by the next
  // call to Databases or Lookup. Databases already open stay open.
  void AddFolder(const std::filesystem::path& folder);

  // The databases found (the folders are listed once, on first call and
  // after AddFolder; nothing is opened).
  std::vector<DatabaseFiles> Databases();

  // The title of database `name` (opening it): its short name, or `name`
  // when it has none or cannot be opened.
  std::string Title(const std::string& name);

  // The entries for `word` (UTF-8 as the user sees it) in each of
  // `databases` (names), in that order. Databases that hold no entry are
  // left out of `found`; unknown or damaged ones are reported in `errors`.
  DefinitionLookup Lookup(std::string_view word,
                          const std::vector<std::string>& databases);

 private:
  struct Slot;
  Slot* OpenSlot(const std::string& name);
  void ListFolders();

  std::mutex mutex_;
  std::vector<std::filesystem::path> folders_;
  bool listed_ = false;
  std::vector<DatabaseFiles> found_;
  std::map<std::string, std::unique_ptr<Slot>> open_;
};

}  // namespace vocor

#endif  // VOCOR_DEFINITIONS_DEFINITIONS_H_
