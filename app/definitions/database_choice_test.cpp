// The databases that answer for a language: the stored choice per
// language, the default without one, and only what is installed.
#include "app/definitions/database_choice.h"

#include <gtest/gtest.h>

#include "settings/scratch_home.h"
#include "settings/settings_store.h"

namespace vocor {
namespace {

using Names = std::vector<std::string>;

TEST(DatabaseChoiceTest, LanguagesAreNamedByTheirThreeLetterCode) {
  EXPECT_EQ(LanguageCode(0), "eng");
  EXPECT_EQ(LanguageCode(0x0409), "eng");  // English (United States)
  EXPECT_EQ(LanguageCode(0x0809), "eng");  // English (United Kingdom)
  EXPECT_EQ(LanguageCode(0x040c), "fra");
  EXPECT_EQ(LanguageCode(0x0407), "deu");
  EXPECT_EQ(LanguageCode(0x0c0a), "spa");
  EXPECT_EQ(LanguageCode(0x0416), "por");  // Portuguese (Brazil)
  EXPECT_EQ(FreeDictName(0x040c), "fra-eng");
  EXPECT_EQ(FreeDictName(0x041d), "swe-eng");
  EXPECT_EQ(FreeDictName(0x0409), "");
  EXPECT_EQ(FreeDictName(0), "");
}

TEST(DatabaseChoiceTest, StoredTextRoundTrips) {
  for (const Names& names :
       {Names{}, Names{"gcide"}, Names{"gcide", "wn", "freedict-fra-eng"}}) {
    EXPECT_EQ(ParseDatabaseChoice(FormatDatabaseChoice(names)), names);
  }
  EXPECT_EQ(ParseDatabaseChoice(" wn ,, gcide,"), (Names{"wn", "gcide"}));
}

// Each language keeps its own choice, across a reopening of the store; a
// language without one takes the default; only installed databases answer.
TEST(DatabaseChoiceTest, ChoiceIsKeptPerLanguage) {
  ScratchHome home;
  CloseSettingsStore();
  EXPECT_FALSE(LoadDatabaseChoice(0x0409).has_value());
  ASSERT_TRUE(SaveDatabaseChoice(0x0809, {"wn"}));
  ASSERT_TRUE(SaveDatabaseChoice(0x040c, {}));
  CloseSettingsStore();
  EXPECT_EQ(LoadDatabaseChoice(0x0409), Names{"wn"});  // the same language
  EXPECT_EQ(LoadDatabaseChoice(0x040c), Names{});
  EXPECT_FALSE(LoadDatabaseChoice(0x0407).has_value());
  CloseSettingsStore();

  const Names installed = {"freedict-fra-eng", "gcide", "wn"};
  EXPECT_EQ(ChosenDatabases(std::nullopt, {"gcide", "wn"}, installed),
            (Names{"gcide", "wn"}));
  EXPECT_EQ(ChosenDatabases(Names{"wn", "gone", "gcide"}, {"gcide"}, installed),
            (Names{"wn", "gcide"}));
  EXPECT_EQ(ChosenDatabases(Names{}, {"gcide"}, installed), Names{});
  EXPECT_EQ(ChosenDatabases(std::nullopt, {"gcide"}, {}), Names{});
}

}  // namespace
}  // namespace vocor
