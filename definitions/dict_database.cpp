#include "definitions/dict_database.h"

#include <algorithm>
#include <utility>

#include "dictionary/unicode_nfc.h"
#include "engine/charset.h"

namespace vocor {

namespace {

// Both spellings occur: the older tools keep the hyphens, FreeDict's
// drop them.
constexpr std::string_view kAllCharsNames[] = {"00-database-allchars",
                                               "00databaseallchars"};
constexpr std::string_view kShortNames[] = {"00-database-short",
                                            "00databaseshort"};

std::string_view Trimmed(std::string_view text) {
  const size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string_view::npos) return {};
  const size_t end = text.find_last_not_of(" \t\r\n");
  return text.substr(begin, end - begin + 1);
}

// The first line of a header entry's text that is not its own headword.
std::string FirstLineOf(std::string_view text) {
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = Trimmed(text.substr(0, end));
    if (!line.empty() && !line.starts_with("00-database") &&
        !line.starts_with("00database")) {
      return std::string(line);
    }
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return {};
}

}  // namespace

std::string ToUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    uint32_t c = 0;
    const int n = DecodeUtf8(bytes.substr(i), &c);
    if (n > 0) {
      text.append(bytes.substr(i, static_cast<size_t>(n)));
      i += static_cast<size_t>(n);
      continue;
    }
    // A malformed sequence: its first byte as Windows-1252, then resync.
    AppendUtf8(EngineToUnicode(static_cast<unsigned char>(bytes[i])), &text);
    ++i;
  }
  return text;
}

std::unique_ptr<DictDatabase> DictDatabase::Open(const DatabaseFiles& files,
                                                 std::string* error) {
  std::unique_ptr<DictDatabase> database(new DictDatabase());
  database->name_ = files.name;
  database->index_ = DictIndex::Open(files.index_path, error);
  if (!database->index_) return nullptr;
  database->data_ = DictData::Open(files.data_path, error);
  if (!database->data_) return nullptr;
  if (!database->ReadHeaderEntries(error)) return nullptr;
  return database;
}

bool DictDatabase::ReadHeaderEntries(std::string* error) {
  // An index cut short or pointing past a cut data file shows at its ends.
  std::string text;
  for (const IndexEntry& entry : index_->ends()) {
    if (!data_->Read(entry.offset, entry.length, &text, error)) return false;
  }
  // The all-characters mark is found in that order if it is there at all.
  std::vector<IndexEntry> found;
  for (std::string_view mark : kAllCharsNames) {
    if (!index_->Find(SortKey(mark, true), true, &found, error)) return false;
  }
  all_chars_ = !found.empty();
  title_ = name_;
  for (std::string_view mark : kShortNames) {
    found.clear();
    if (!index_->Find(SortKey(mark, all_chars_), all_chars_, &found, error)) {
      return false;
    }
    if (found.empty()) continue;
    if (!data_->Read(found[0].offset, found[0].length, &text, error)) {
      return false;
    }
    const std::string title = FirstLineOf(ToUtf8(text));
    if (!title.empty()) title_ = title;
    break;
  }
  return true;
}

bool DictDatabase::Lookup(std::string_view word,
                          std::vector<std::string>* texts,
                          std::string* error) {
  const std::string key =
      SortKey(Trimmed(ComposedUtf8(word)), all_chars_);
  if (key.empty()) return true;
  std::vector<IndexEntry> found;
  if (!index_->Find(key, all_chars_, &found, error)) return false;
  // Several headwords (spellings, inflections) often share one entry.
  std::vector<std::pair<uint64_t, uint64_t>> seen;
  std::string text;
  for (const IndexEntry& entry : found) {
    const std::pair<uint64_t, uint64_t> where{entry.offset, entry.length};
    if (std::find(seen.begin(), seen.end(), where) != seen.end()) continue;
    seen.push_back(where);
    if (!data_->Read(entry.offset, entry.length, &text, error)) return false;
    texts->push_back(ToUtf8(Trimmed(text)));
  }
  return true;
}

}  // namespace vocor
