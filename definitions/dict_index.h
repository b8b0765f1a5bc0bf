// The index of a database: one line per headword, "word<TAB>offset<TAB>
// length" (the numbers in base 64, digits A-Z a-z 0-9 + /, most significant
// first), sorted by SortKey. The file is searched in place by bisection
// over byte positions with positioned reads; it is never loaded.
#ifndef VOCOR_DEFINITIONS_DICT_INDEX_H_
#define VOCOR_DEFINITIONS_DICT_INDEX_H_

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vocor {

class FileReader;

// The order of an index: UTF-8 text lower-cased character by character
// (malformed bytes kept as they are) and, unless `all_chars`, stripped of
// the ASCII characters that are neither letters, digits nor spaces.
// Compared byte by byte.
std::string SortKey(std::string_view text, bool all_chars);

// The value of a base-64 number; false when it is empty, holds another
// character or exceeds 2^48.
bool DecodeBase64Number(std::string_view digits, uint64_t* value);

struct IndexEntry {
  std::string headword;
  uint64_t offset = 0;
  uint64_t length = 0;
};

class DictIndex {
 public:
  // Opens an index, checking its first and last lines (a file cut short
  // ends in the middle of one); null with *error otherwise.
  static std::unique_ptr<DictIndex> Open(const std::filesystem::path& path,
                                         std::string* error);
  ~DictIndex();

  // The entries whose headword has the sort key `key`, in file order.
  // False with *error when a line on the way is malformed.
  bool Find(std::string_view key, bool all_chars,
            std::vector<IndexEntry>* entries, std::string* error) const;

  // The entries on the first and last lines, which Open has checked.
  const std::vector<IndexEntry>& ends() const { return ends_; }

 private:
  explicit DictIndex(std::unique_ptr<FileReader> file);
  bool LineAt(uint64_t start, std::string* line, std::string* error) const;
  bool NextLineStart(uint64_t position, uint64_t* start,
                     std::string* error) const;
  bool Parse(const std::string& line, uint64_t start, IndexEntry* entry,
             std::string* error) const;

  std::unique_ptr<FileReader> file_;
  std::vector<IndexEntry> ends_;
};

}  // namespace vocor

#endif  // VOCOR_DEFINITIONS_DICT_INDEX_H_
