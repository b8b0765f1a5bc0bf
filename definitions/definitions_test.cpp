// Look-ups as the user types them (accents, case, composition), the
// databases found in folders, the default choice per language, and the
// library's opening on first use; then the databases installed on this
// machine, when there are any, against the order the reader assumes.
#include "definitions/definitions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "definitions/dict_index.h"
#include "definitions/testing/dict_writer.h"
#include "dictionary/testing/scratch_dir.h"

namespace vocor {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::MadeEntry;

std::vector<std::string> EntriesOf(DefinitionLibrary* library,
                                   const std::string& word,
                                   const std::string& database) {
  const DefinitionLookup lookup = library->Lookup(word, {database});
  EXPECT_THAT(lookup.errors, IsEmpty()) << word;
  return lookup.found.empty() ? std::vector<std::string>{}
                              : lookup.found[0].entries;
}

TEST(Definitions, MatchesWordsAsTheUserSeesThem) {
  testing::ScratchDir folder;
  // As FreeDict writes them: lower case, punctuation dropped from the
  // headwords, sorted by UTF-8 bytes.
  testing::WriteDatabase(folder.path(), "freedict-fra-eng",
                         testing::MakeDatabase({
                             {"00databaseshort", "French-English\n"},
                             {"abatjour", "abat-jour\nlampshade\n"},
                             {"chat", "chat\ncat\n"},
                             {"château", "château\ncastle\n"},
                             {"ecole", "(no such word)\n"},
                             {"straße", "straße\nstreet\n"},
                             {"école", "école\nschool\n"},
                         }),
                         64);
  // As older tools write them: mixed case, text in Windows-1252, and the
  // index keeping every character.
  testing::WriteDatabase(folder.path(), "old",
                         testing::MakeDatabase({
                             {"'tween", "'tween\nbetween\n"},
                             {"00-database-allchars", "\n"},
                             {"Tween", "Tween\nit\x92s a teenager\n"},
                         }),
                         0);
  DefinitionLibrary library({folder.path()});
  const auto french = [&](const std::string& word) {
    return EntriesOf(&library, word, "freedict-fra-eng");
  };
  EXPECT_THAT(french("école"), ElementsAre("école\nschool"));
  EXPECT_THAT(french("ÉCOLE"), ElementsAre("école\nschool"));
  EXPECT_THAT(french("e\xcc\x81" "cole"), ElementsAre("école\nschool"));  // NFD
  EXPECT_THAT(french("Ecole"), ElementsAre("(no such word)"));
  EXPECT_THAT(french("Château"), ElementsAre("château\ncastle"));
  EXPECT_THAT(french("chateau"), IsEmpty());
  EXPECT_THAT(french("Abat-Jour"), ElementsAre("abat-jour\nlampshade"));
  EXPECT_THAT(french("  chat\n"), ElementsAre("chat\ncat"));
  EXPECT_THAT(french("STRASSE"), IsEmpty());
  EXPECT_THAT(french("Straße"), ElementsAre("straße\nstreet"));

  EXPECT_THAT(EntriesOf(&library, "'TWEEN", "old"),
              ElementsAre("'tween\nbetween"));
  EXPECT_THAT(EntriesOf(&library, "tween", "old"),
              ElementsAre("Tween\nit\u2019s a teenager"));

  const DefinitionLookup both =
      library.Lookup("chat", {"old", "freedict-fra-eng", "missing"});
  ASSERT_THAT(both.found, ::testing::SizeIs(1));
  EXPECT_EQ(both.found[0].database, "freedict-fra-eng");
  EXPECT_EQ(both.found[0].title, "French-English");
  EXPECT_THAT(both.errors, ElementsAre("missing: no such database"));
  EXPECT_EQ(library.Title("old"), "old");  // no short name
}

TEST(Definitions, DefaultChoiceFollowsTheDictionaryLanguage) {
  std::vector<DatabaseFiles> available;
  for (const char* name : {"freedict-deu-eng", "freedict-fra-eng", "gcide",
                           "wn", "freedict-eng-fra", "freedict-spa-eng"}) {
    available.push_back({name, {}, {}});
  }
  EXPECT_THAT(DefaultDatabases(0x0409, available), ElementsAre("gcide", "wn"));
  EXPECT_THAT(DefaultDatabases(0x0809, available), ElementsAre("gcide", "wn"));
  EXPECT_THAT(DefaultDatabases(0, available), ElementsAre("gcide", "wn"));
  EXPECT_THAT(DefaultDatabases(0x040c, available),
              ElementsAre("freedict-fra-eng"));
  EXPECT_THAT(DefaultDatabases(0x0c0c, available),  // Canadian French
              ElementsAre("freedict-fra-eng"));
  EXPECT_THAT(DefaultDatabases(0x0407, available),
              ElementsAre("freedict-deu-eng"));
  EXPECT_THAT(DefaultDatabases(0x0c0a, available),  // Spanish, modern sort
              ElementsAre("freedict-spa-eng"));
  EXPECT_THAT(DefaultDatabases(0x0410, available), IsEmpty());  // not here
  EXPECT_THAT(DefaultDatabases(0x0411, available), IsEmpty());  // Japanese
  EXPECT_THAT(DefaultDatabases(0x0409, {}), IsEmpty());
  EXPECT_THAT(NoDatabaseAdvice(), ::testing::HasSubstr("dict-gcide"));
}

TEST(Definitions, FindsDatabasesInFolderOrderAndKeepsThemOpen) {
  testing::ScratchDir first, second;
  const testing::MadeDatabase one =
      testing::MakeDatabase({{"word", "first\n"}});
  const testing::MadeDatabase two =
      testing::MakeDatabase({{"word", "second\n"}});
  testing::WriteDatabase(first.path(), "shared", one, 0);
  testing::WriteDatabase(second.path(), "shared", two, 100);
  testing::WriteDatabase(second.path(), "packed", two, 100);
  testing::WriteFile(second.path() + "/packed.dict", "ignored");
  testing::WriteFile(second.path() + "/lonely.index", two.index);
  testing::WriteFile(second.path() + "/.index", two.index);

  DefinitionLibrary library({"/nonexistent", first.path()});
  EXPECT_THAT(library.Databases(), ::testing::SizeIs(1));
  library.AddFolder(second.path());
  const std::vector<DatabaseFiles> found = library.Databases();
  ASSERT_THAT(found, ::testing::SizeIs(2));
  EXPECT_EQ(found[0].name, "packed");
  EXPECT_EQ(found[0].data_path.filename(), "packed.dict.dz");
  EXPECT_EQ(found[1].name, "shared");
  EXPECT_EQ(found[1].data_path.parent_path(), first.path());

  // Listing opens nothing: files removed now are missed at first use.
  std::filesystem::remove(first.path() + "/shared.dict");
  EXPECT_THAT(library.Lookup("word", {"shared"}).errors,
              ElementsAre(::testing::StartsWith("shared.dict: ")));
  // A database once open stays open, whatever happens to its files.
  EXPECT_THAT(EntriesOf(&library, "word", "packed"), ElementsAre("second"));
  std::filesystem::remove(second.path() + "/packed.index");
  std::filesystem::remove(second.path() + "/packed.dict.dz");
  EXPECT_THAT(EntriesOf(&library, "WORD", "packed"), ElementsAre("second"));
}

// The databases installed here (dict-gcide, dict-wn, FreeDict), when there
// are any: every index must be sorted in the order the search assumes, or
// words would be missed; and some words must be found with their entries.
TEST(InstalledDatabases, AreSortedAsTheSearchAssumesAndAnswer) {
  const std::vector<DatabaseFiles> installed =
      FindDatabases(SystemDatabaseFolders());
  if (installed.empty()) GTEST_SKIP() << "no database in /usr/share/dictd";
  DefinitionLibrary library;
  for (const DatabaseFiles& files : installed) {
    SCOPED_TRACE(files.name);
    std::ifstream in(files.index_path);
    std::vector<std::string> headwords;
    bool all_chars = false;
    for (std::string line; std::getline(in, line);) {
      headwords.push_back(line.substr(0, line.find('\t')));
      all_chars = all_chars || headwords.back() == "00-database-allchars";
    }
    for (size_t i = 1; i < headwords.size(); ++i) {
      ASSERT_LE(SortKey(headwords[i - 1], all_chars),
                SortKey(headwords[i], all_chars))
          << headwords[i - 1] << " before " << headwords[i];
    }
    // A sample of headwords, each found with at least one entry.
    for (size_t i = 0; i < headwords.size(); i += 1 + headwords.size() / 300) {
      // Words are looked up trimmed, and one of punctuation alone is none.
      const std::string& word = headwords[i];
      if (word.starts_with(' ') || word.ends_with(' ') ||
          SortKey(word, all_chars).empty()) {
        continue;
      }
      EXPECT_THAT(EntriesOf(&library, headwords[i], files.name),
                  ::testing::Not(IsEmpty()))
          << headwords[i];
    }
  }
}

}  // namespace
}  // namespace vocor
