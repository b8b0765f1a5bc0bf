// One database opened: its index, its data and what its header entries
// say (the short name, whether the index keeps all characters).
#ifndef VOCOR_DEFINITIONS_DICT_DATABASE_H_
#define VOCOR_DEFINITIONS_DICT_DATABASE_H_

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/definitions.h"
#include "definitions/dict_data.h"
#include "definitions/dict_index.h"

namespace vocor {

class DictDatabase {
 public:
  // Opens both files and reads the header entries; null with *error
  // ("FILE: what is wrong") when either file is damaged. Not thread-safe:
  // one caller at a time (the data file keeps its last chunk).
  static std::unique_ptr<DictDatabase> Open(const DatabaseFiles& files,
                                            std::string* error);

  const std::string& name() const { return name_; }
  // The short name, or the name when the database has none.
  const std::string& title() const { return title_; }

  // The texts of the entries for `word` (UTF-8, any case, any
  // normalisation), each once, in index order; bytes that are not UTF-8
  // are read as Windows-1252. False with *error when a line or an entry on
  // the way is damaged.
  bool Lookup(std::string_view word, std::vector<std::string>* texts,
              std::string* error);

 private:
  DictDatabase() = default;
  bool ReadHeaderEntries(std::string* error);

  std::string name_;
  std::string title_;
  bool all_chars_ = false;
  std::unique_ptr<DictIndex> index_;
  std::unique_ptr<DictData> data_;
};

// `bytes` as UTF-8: valid sequences kept, other bytes read as
// Windows-1252.
std::string ToUtf8(std::string_view bytes);

}  // namespace vocor

#endif  // VOCOR_DEFINITIONS_DICT_DATABASE_H_
