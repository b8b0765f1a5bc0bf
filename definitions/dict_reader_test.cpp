// The reader against databases the tests write themselves: every headword
// of random databases looked up and compared with a scan of the entries
// written, in plain and dictzip files with chunks small enough for entries
// to span several; then damaged and truncated files, which must be refused
// with the file named, never crash.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "definitions/definitions.h"
#include "definitions/testing/dict_writer.h"
#include "dictionary/testing/scratch_dir.h"

namespace vocor {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using testing::MadeDatabase;
using testing::MadeEntry;

// Headwords are made of these pieces; each comes with its lower case.
struct Piece {
  const char* text;
  const char* lower;
};
constexpr Piece kPieces[] = {
    {"a", "a"}, {"b", "b"},   {"C", "c"},   {"Z", "z"},   {"é", "é"},
    {"É", "é"}, {"ß", "ß"},   {"Ö", "ö"},   {"-", "-"},   {" ", " "},
    {"'", "'"}, {"1", "1"},   {"n", "n"},   {"E", "e"},
};

// The order of the index, written out for these pieces: lower case, and
// without the ASCII punctuation unless all characters count.
std::string ReferenceKey(const std::vector<int>& pieces, bool all_chars) {
  std::string key;
  for (int i : pieces) {
    const std::string lower = kPieces[i].lower;
    if (!all_chars && (lower == "-" || lower == "'")) continue;
    key += lower;
  }
  return key;
}

struct Made {
  std::string key;
  MadeEntry entry;
};

std::string RandomText(std::mt19937* random, size_t length) {
  static constexpr char kLetters[] = "abcdefghij klmnop\nqrstuvwxyz.,";
  std::string text(length, ' ');
  for (char& c : text) c = kLetters[(*random)() % (sizeof kLetters - 1)];
  text.front() = 'x';
  text.back() = '.';
  return text;
}

// Random entries (some sharing a headword, some a text), the header
// entries among them, sorted as an index is.
std::vector<Made> RandomEntries(std::mt19937* random, bool all_chars,
                                int count) {
  std::vector<Made> made;
  const std::string header = all_chars ? "00-database-" : "00database";
  made.push_back({header + "short", {header + "short", "Made Up v1\n"}});
  if (all_chars) {
    made.push_back({"00-database-allchars",
                    {"00-database-allchars", "all characters\n"}});
  }
  for (int i = 0; i < count; ++i) {
    std::vector<int> pieces(1 + (*random)() % 5);
    for (int& p : pieces) p = static_cast<int>((*random)() % std::size(kPieces));
    pieces.front() = static_cast<int>((*random)() % 4);  // a letter first
    // A word that ends in a space is not looked up (the space is trimmed).
    if (std::string(kPieces[pieces.back()].text) == " ") pieces.back() = 0;
    std::string headword;
    for (int p : pieces) headword += kPieces[p].text;
    // Mostly short texts, some of several hundred bytes.
    const size_t length =
        (*random)() % 8 == 0 ? 200 + (*random)() % 600 : 1 + (*random)() % 40;
    std::string text = RandomText(random, length) + "\n";
    if (!made.empty() && (*random)() % 10 == 0) text = made.back().entry.text;
    made.push_back({ReferenceKey(pieces, all_chars), {headword, text}});
  }
  std::stable_sort(made.begin(), made.end(),
                   [](const Made& a, const Made& b) { return a.key < b.key; });
  return made;
}

MadeDatabase Write(const std::vector<Made>& made) {
  std::vector<MadeEntry> entries;
  for (const Made& m : made) entries.push_back(m.entry);
  return testing::MakeDatabase(entries);
}

// What a look-up of a word with key `key` must give: the texts of the
// entries with that key, in index order, each once, without the line end.
std::vector<std::string> Expected(const std::vector<Made>& made,
                                  const std::string& key) {
  std::vector<std::string> texts;
  for (const Made& m : made) {
    std::string text = m.entry.text.substr(0, m.entry.text.size() - 1);
    if (m.key == key &&
        std::find(texts.begin(), texts.end(), text) == texts.end()) {
      texts.push_back(text);
    }
  }
  return texts;
}

std::vector<std::string> EntriesOf(DefinitionLibrary* library,
                                   const std::string& word,
                                   const std::string& database) {
  const DefinitionLookup lookup = library->Lookup(word, {database});
  EXPECT_THAT(lookup.errors, ::testing::IsEmpty()) << word;
  return lookup.found.empty() ? std::vector<std::string>{}
                              : lookup.found[0].entries;
}

std::string Upper(const std::string& word) {
  std::string upper = word;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return upper;
}

TEST(DictReader, LooksUpEveryHeadwordAsAScanOfTheEntriesDoes) {
  std::mt19937 random(20261208);
  // 0: plain; otherwise dictzip with chunks of that many bytes (1 byte:
  // every entry spans many chunks; 65535: one chunk for everything).
  for (size_t chunk : {size_t{0}, size_t{1}, size_t{61}, size_t{512},
                       size_t{65535}}) {
    for (bool all_chars : {false, true}) {
      SCOPED_TRACE("chunk " + std::to_string(chunk) +
                   (all_chars ? ", all characters" : ""));
      const std::vector<Made> made = RandomEntries(&random, all_chars, 300);
      testing::ScratchDir folder;
      testing::WriteDatabase(folder.path(), "made", Write(made), chunk);
      DefinitionLibrary library({folder.path()});
      EXPECT_EQ(library.Title("made"), "Made Up v1");
      for (const Made& m : made) {
        if (m.key.starts_with("00")) continue;
        EXPECT_EQ(EntriesOf(&library, m.entry.headword, "made"),
                  Expected(made, m.key))
            << m.entry.headword;
        // Case does not matter; ASCII capitals stand for any.
        EXPECT_EQ(EntriesOf(&library, Upper(m.entry.headword), "made"),
                  Expected(made, m.key))
            << Upper(m.entry.headword);
      }
      // Words between and around the headwords find nothing.
      for (const char* absent : {"", "0", "aaaaaaaaaaaaa", "bq", "zzzzzzzzzzz",
                                 "\xff\xfe", "é-é-é-é-é-é"}) {
        EXPECT_THAT(EntriesOf(&library, absent, "made"), ::testing::IsEmpty())
            << absent;
      }
    }
  }
}

// A small dictzip database and a word in each of its chunks.
struct Sample {
  std::vector<MadeEntry> entries;
  MadeDatabase database;
  std::string packed;
};

Sample MakeSample() {
  Sample sample;
  sample.entries = {{"00databaseshort", "Sample\n"}};
  for (char c = 'a'; c <= 'z'; ++c) {
    sample.entries.push_back(
        {std::string(3, c), std::string(3, c) + " " + std::string(90, c) + "\n"});
  }
  sample.database = testing::MakeDatabase(sample.entries);
  sample.packed = testing::Dictzip(sample.database.text, 100, "sample.dict");
  return sample;
}

// Writes the sample with `index` and `packed` in place of its own files,
// then looks up every word; returns every message the library gave.
std::vector<std::string> MessagesOf(const std::string& index,
                                    const std::string& packed,
                                    const std::string& data_name =
                                        "sample.dict.dz") {
  testing::ScratchDir folder;
  testing::WriteFile(folder.path() + "/sample.index", index);
  testing::WriteFile(folder.path() + "/" + data_name, packed);
  DefinitionLibrary library({folder.path()});
  std::vector<std::string> messages;
  for (char c = 'a'; c <= 'z'; ++c) {
    const DefinitionLookup lookup =
        library.Lookup(std::string(3, c), {"sample"});
    messages.insert(messages.end(), lookup.errors.begin(), lookup.errors.end());
  }
  return messages;
}

std::string Replaced(std::string bytes, size_t at, const std::string& with) {
  bytes.replace(at, with.size(), with);
  return bytes;
}

// `index` with the line of `headword` replaced by `line`.
std::string WithLine(std::string index, const std::string& headword,
                     const std::string& line) {
  const size_t start = index.find("\n" + headword + "\t") + 1;
  return index.replace(start, index.find('\n', start) - start, line);
}

TEST(DictReader, RefusesDamagedFilesNamingTheFileAndTheFault) {
  const Sample sample = MakeSample();
  const std::string& index = sample.database.index;
  const std::string& packed = sample.packed;
  EXPECT_THAT(MessagesOf(index, packed), ::testing::IsEmpty());
  // The RA subfield: XLEN at 10, "RA" at 12, its length at 14, version at
  // 16, chunk length at 18, chunk count at 20, the sizes from 22.
  struct Damage {
    const char* what;
    std::string index, packed;
    const char* file;
    const char* fault;
  };
  const Damage damages[] = {
      {"index cut in a line", index.substr(0, index.size() - 3), packed,
       "sample.index", "cut short"},
      {"empty index", "", packed, "sample.index", "empty"},
      {"bad base 64", WithLine(index, "kkk", "kkk\tB*\tB"), packed,
       "sample.index", "base 64"},
      {"offset past the end", WithLine(index, "kkk", "kkk\tzzzz\tB"), packed,
       "sample.dict.dz", "past the end"},
      {"length past the end", WithLine(index, "kkk", "kkk\tB\tzzz"), packed,
       "sample.dict.dz", "past the end"},
      {"too long to be an entry", WithLine(index, "kkk", "kkk\tB\tzzzzz"),
       packed, "sample.dict.dz", "too long"},
      {"no tabs", WithLine(index, "kkk", "kkk"), packed, "sample.index",
       "base 64"},
      {"not gzip", index, Replaced(packed, 0, "P"), "sample.dict.dz",
       "not a gzip file"},
      {"no extra field", index, Replaced(packed, 3, std::string(1, '\x08')),
       "sample.dict.dz", "no extra field"},
      {"another subfield", index, Replaced(packed, 12, "XY"),
       "sample.dict.dz", "no random-access table"},
      {"table version 2", index, Replaced(packed, 16, std::string(1, '\x02')),
       "sample.dict.dz", "version"},
      {"chunk count too high", index, Replaced(packed, 20, "\x7f"),
       "sample.dict.dz", "wrong size"},
      {"extra field longer than the file", index,
       Replaced(packed.substr(0, 200), 10, "\xff\xff"), "sample.dict.dz",
       "cut short"},
      {"chunk size too large", index, Replaced(packed, 22, "\xff\x7f"),
       "sample.dict.dz", "cut short"},
      {"cut in the chunks", index, packed.substr(0, packed.size() / 2),
       "sample.dict.dz", "cut short"},
      {"no trailer", index, packed.substr(0, packed.size() - 8),
       "sample.dict.dz", "cut short"},
      {"wrong text length", index,
       Replaced(packed, packed.size() - 4, "\x01\x00\x00\x00"),
       "sample.dict.dz", "does not fit"},
      {"chunk that does not inflate", index,
       Replaced(packed, packed.size() / 2, std::string(24, '\xff')),
       "sample.dict.dz", "does not inflate"},
      {"gzip file name without an end", index,
       packed.substr(0, packed.find("sample.dict")) + "sample.dict",
       "sample.dict.dz", "does not end"},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.what);
    const std::vector<std::string> messages =
        MessagesOf(damage.index, damage.packed);
    ASSERT_THAT(messages, ::testing::Not(::testing::IsEmpty()));
    EXPECT_THAT(messages[0], StartsWith(damage.file));
    EXPECT_THAT(messages[0], HasSubstr(damage.fault));
  }
  // A plain data file cut short: the entries past its end are refused.
  const std::vector<std::string> plain =
      MessagesOf(index, sample.database.text.substr(0, 1000), "sample.dict");
  ASSERT_THAT(plain, ::testing::Not(::testing::IsEmpty()));
  EXPECT_THAT(plain[0], StartsWith("sample.dict: "));
  EXPECT_THAT(plain[0], HasSubstr("past the end"));
}

TEST(DictReader, SurvivesCutsAndFlippedBytes) {
  const Sample sample = MakeSample();
  const std::string& index = sample.database.index;
  // Any cut of a dictzip file is seen (its chunk table or trailer no longer
  // fits); a cut of the index is seen unless it falls between lines.
  for (size_t size = 0; size < sample.packed.size(); size += 7) {
    EXPECT_THAT(MessagesOf(index, sample.packed.substr(0, size)),
                ::testing::Each(StartsWith("sample.dict.dz: ")))
        << size;
    EXPECT_THAT(MessagesOf(index, sample.packed.substr(0, size)),
                ::testing::SizeIs(26))
        << size;
  }
  for (size_t size = 0; size < index.size(); ++size) {
    const std::vector<std::string> messages =
        MessagesOf(index.substr(0, size), sample.packed);
    if (size == 0 || index[size - 1] != '\n') {
      EXPECT_THAT(messages, ::testing::Each(StartsWith("sample.index: ")))
          << size;
      EXPECT_THAT(messages, ::testing::SizeIs(26)) << size;
    } else {
      EXPECT_THAT(messages, ::testing::IsEmpty()) << size;
    }
  }
  // Flipped bytes may go unnoticed (a changed letter is still a letter);
  // what matters is that nothing reads outside its buffers (the sanitizer
  // build checks) and every message names a file.
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    std::string damaged_index = index, damaged_packed = sample.packed;
    std::string& target = round % 2 == 0 ? damaged_index : damaged_packed;
    for (int flips = 1 + round % 4; flips > 0; --flips) {
      target[random() % target.size()] ^= static_cast<char>(1 << (random() % 8));
    }
    EXPECT_THAT(MessagesOf(damaged_index, damaged_packed),
                ::testing::Each(StartsWith("sample.")));
  }
}

TEST(DictReader, AFileCutShortAfterItWasOpenedIsRefusedNotFaulted) {
  const Sample sample = MakeSample();
  testing::ScratchDir folder;
  testing::WriteFile(folder.path() + "/sample.index", sample.database.index);
  testing::WriteFile(folder.path() + "/sample.dict.dz", sample.packed);
  DefinitionLibrary library({folder.path()});
  ASSERT_THAT(EntriesOf(&library, "aaa", "sample"), ::testing::SizeIs(1));
  // Cut both files in place, under the open descriptors.
  std::filesystem::resize_file(folder.path() + "/sample.dict.dz", 100);
  std::filesystem::resize_file(folder.path() + "/sample.index", 100);
  const DefinitionLookup lookup = library.Lookup("zzz", {"sample"});
  EXPECT_THAT(lookup.found, ::testing::IsEmpty());
  ASSERT_THAT(lookup.errors, ::testing::SizeIs(1));
  EXPECT_THAT(lookup.errors[0], HasSubstr("cut short"));
}

}  // namespace
}  // namespace vocor
