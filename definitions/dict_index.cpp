#include "definitions/dict_index.h"

#include "definitions/file_reader.h"
#include "dictionary/icu_runtime.h"
#include "engine/charset.h"

namespace vocor {

namespace {

// A line longer than this is taken for damage (headwords are short).
constexpr size_t kMaxLineLength = 64 << 10;
constexpr size_t kReadBlock = 512;
// Below this many bytes the search reads lines one after another.
constexpr uint64_t kScanSpan = 2048;
constexpr uint64_t kMaxBase64Value = uint64_t{1} << 48;

bool IsAsciiKept(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ';
}

std::string_view HeadwordOf(std::string_view line) {
  return line.substr(0, line.find('\t'));
}

// Unicode's simple lower case; ASCII without loading ICU, and a code point
// unchanged when ICU cannot be loaded.
uint32_t ToLower(uint32_t c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
  const IcuRuntime* icu = Icu();
  return icu != nullptr ? static_cast<uint32_t>(icu->to_lower(
                              static_cast<UChar32>(c)))
                        : c;
}

}  // namespace

std::string SortKey(std::string_view text, bool all_chars) {
  std::string key;
  key.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    uint32_t c = 0;
    const int n = DecodeUtf8(text.substr(i), &c);
    if (n == 0) {  // malformed: the byte as it is
      key.push_back(text[i++]);
      continue;
    }
    i += static_cast<size_t>(n);
    c = ToLower(c);
    if (c < 0x80) {
      if (all_chars || IsAsciiKept(static_cast<unsigned char>(c))) {
        key.push_back(static_cast<char>(c));
      }
      continue;
    }
    AppendUtf8(c, &key);
  }
  return key;
}

bool DecodeBase64Number(std::string_view digits, uint64_t* value) {
  if (digits.empty()) return false;
  uint64_t v = 0;
  for (char ch : digits) {
    int d;
    if (ch >= 'A' && ch <= 'Z') d = ch - 'A';
    else if (ch >= 'a' && ch <= 'z') d = ch - 'a' + 26;
    else if (ch >= '0' && ch <= '9') d = ch - '0' + 52;
    else if (ch == '+') d = 62;
    else if (ch == '/') d = 63;
    else return false;
    v = v * 64 + static_cast<uint64_t>(d);
    if (v > kMaxBase64Value) return false;
  }
  *value = v;
  return true;
}

DictIndex::DictIndex(std::unique_ptr<FileReader> file)
    : file_(std::move(file)) {}

DictIndex::~DictIndex() = default;

std::unique_ptr<DictIndex> DictIndex::Open(const std::filesystem::path& path,
                                           std::string* error) {
  std::unique_ptr<FileReader> file = FileReader::Open(path, error);
  if (!file) return nullptr;
  std::string last;
  if (file->size() == 0 || !file->ReadExactly(file->size() - 1, 1, &last) ||
      last != "\n") {
    *error = file->name() +
             (file->size() == 0 ? ": empty" : ": cut short (no line end at its end)");
    return nullptr;
  }
  std::unique_ptr<DictIndex> index(new DictIndex(std::move(file)));
  // The last line starts after the line end before the final one.
  uint64_t last_start = 0;
  const uint64_t size = index->file_->size();
  const uint64_t from = size > kMaxLineLength ? size - kMaxLineLength : 0;
  std::string tail;
  if (!index->file_->ReadExactly(from, size - 1 - from, &tail)) {
    *error = index->file_->name() + ": cannot be read";
    return nullptr;
  }
  const size_t end = tail.rfind('\n');
  if (end != std::string::npos) last_start = from + end + 1;
  for (uint64_t start : {uint64_t{0}, last_start}) {
    std::string line;
    IndexEntry entry;
    if (!index->LineAt(start, &line, error) ||
        !index->Parse(line, start, &entry, error)) {
      return nullptr;
    }
    index->ends_.push_back(entry);
  }
  return index;
}

bool DictIndex::LineAt(uint64_t start, std::string* line,
                       std::string* error) const {
  line->clear();
  std::string block;
  for (uint64_t at = start; at < file_->size(); at += block.size()) {
    if (!file_->ReadAt(at, kReadBlock, &block) || block.empty()) break;
    const size_t end = block.find('\n');
    line->append(block, 0, end);
    if (end != std::string::npos) return true;
    if (line->size() > kMaxLineLength) {
      *error = file_->name() + ": the line at byte " + std::to_string(start) +
               " is too long";
      return false;
    }
  }
  *error = file_->name() + ": cut short at byte " + std::to_string(start);
  return false;
}

bool DictIndex::NextLineStart(uint64_t position, uint64_t* start,
                              std::string* error) const {
  std::string block;
  for (uint64_t at = position; at < file_->size(); at += block.size()) {
    if (!file_->ReadAt(at, kReadBlock, &block) || block.empty()) break;
    const size_t end = block.find('\n');
    if (end != std::string::npos) {
      *start = at + end + 1;
      return true;
    }
    if (at - position > kMaxLineLength) {
      *error = file_->name() + ": the line around byte " +
               std::to_string(position) + " is too long";
      return false;
    }
  }
  *start = file_->size();
  return true;
}

bool DictIndex::Parse(const std::string& line, uint64_t start,
                      IndexEntry* entry, std::string* error) const {
  const size_t tab1 = line.find('\t');
  const size_t tab2 =
      tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
  // A fourth field (an original spelling, written by some tools) is allowed.
  const size_t tab3 =
      tab2 == std::string::npos ? tab2 : line.find('\t', tab2 + 1);
  const std::string_view view(line);
  if (tab2 == std::string::npos ||
      !DecodeBase64Number(view.substr(tab1 + 1, tab2 - tab1 - 1),
                          &entry->offset) ||
      !DecodeBase64Number(view.substr(tab2 + 1, tab3 == std::string::npos
                                                    ? std::string::npos
                                                    : tab3 - tab2 - 1),
                          &entry->length)) {
    *error = file_->name() + ": the line at byte " + std::to_string(start) +
             " is not \"word<TAB>offset<TAB>length\" in base 64";
    return false;
  }
  entry->headword = line.substr(0, tab1);
  return true;
}

bool DictIndex::Find(std::string_view key, bool all_chars,
                     std::vector<IndexEntry>* entries,
                     std::string* error) const {
  // Every line starting before `low` sorts before `key`; every line
  // starting at or after `high` sorts at or after it.
  uint64_t low = 0, high = file_->size();
  std::string line;
  while (high - low > kScanSpan) {
    const uint64_t middle = low + (high - low) / 2;
    uint64_t start;
    if (!NextLineStart(middle, &start, error)) return false;
    if (start >= high) {
      high = middle + 1;
      continue;
    }
    if (!LineAt(start, &line, error)) return false;
    if (SortKey(HeadwordOf(line), all_chars) < key) {
      low = start;
    } else {
      high = start;
    }
  }
  for (uint64_t start = low; start < file_->size(); start += line.size() + 1) {
    if (!LineAt(start, &line, error)) return false;
    const std::string found = SortKey(HeadwordOf(line), all_chars);
    if (found > key) break;
    if (found < key) continue;
    IndexEntry entry;
    if (!Parse(line, start, &entry, error)) return false;
    entries->push_back(std::move(entry));
  }
  return true;
}

}  // namespace vocor
