#include "settings/settings_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/settings_test_support.h"

namespace vocor {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

using SettingsStoreTest = SettingsTest;

constexpr const char* kKey = "Software\\Vocor\\Vocor for Windows\\Settings";

TEST_F(SettingsStoreTest, ValuesRoundTrip) {
  ASSERT_TRUE(WriteRegString(kCurrentUser, kKey, "Text", "abc"));
  ASSERT_TRUE(WriteRegString(kCurrentUser, kKey, "Empty", ""));
  ASSERT_TRUE(WriteRegDword(kCurrentUser, kKey, "Zero", 0));
  ASSERT_TRUE(WriteRegDword(kCurrentUser, kKey, "All", 0xFFFFFFFFu));
  ASSERT_TRUE(WriteRegDword(kCurrentUser, kKey, "Mixed", 0x12345678u));
  ASSERT_TRUE(WriteRegString(kCurrentUser, kKey, nullptr, "unnamed"));

  EXPECT_EQ(TextAt(kKey, "Text"), "abc");
  EXPECT_EQ(TextAt(kKey, "Empty"), "");
  EXPECT_EQ(TextAt(kKey, ""), "unnamed");
  EXPECT_EQ(DwordAt(kKey, "Zero"), 0u);
  EXPECT_EQ(DwordAt(kKey, "All"), 0xFFFFFFFFu);
  EXPECT_EQ(DwordAt(kKey, "Mixed"), 0x12345678u);

  // Rewriting replaces value and type.
  ASSERT_TRUE(WriteRegDword(kCurrentUser, kKey, "Text", 5));
  EXPECT_EQ(DwordAt(kKey, "Text"), 5u);
  ASSERT_TRUE(WriteRegString(kCurrentUser, kKey, "Mixed", "longer text"));
  EXPECT_EQ(TextAt(kKey, "Mixed"), "longer text");
}

TEST_F(SettingsStoreTest, NamesIgnoreAsciiCaseAndKeepFirstSpelling) {
  ASSERT_TRUE(WriteRegDword(kCurrentUser, "Software\\Vocor\\Settings",
                            "ActiveDictionary", 3));
  EXPECT_EQ(DwordAt("SOFTWARE\\vocor\\sETTINGS", "activedictionary"), 3u);
  ASSERT_TRUE(WriteRegDword(kCurrentUser, "software\\VOCOR\\settings",
                            "ACTIVEDICTIONARY", 4));
  EXPECT_EQ(DwordAt("Software\\Vocor\\Settings", "ActiveDictionary"), 4u);
  EXPECT_THAT(Subkeys("software"), ElementsAre("Vocor"));
  EXPECT_THAT(Subkeys("SOFTWARE\\VOCOR"), ElementsAre("Settings"));

  // Only ASCII folds: other bytes are compared as they are.
  ASSERT_TRUE(
      WriteRegString(kCurrentUser, "Accents\\\xC3\xA9t\xC3\xA9", "v", "lower"));
  std::string text = "untouched";
  EXPECT_FALSE(
      ReadRegString(kCurrentUser, "Accents\\\xC3\x89T\xC3\x89", "v", &text));
  EXPECT_EQ(text, "untouched");
  EXPECT_EQ(Subkeys("Accents").size(), 2u);
}

TEST_F(SettingsStoreTest, ReadingBelowMissingKeyCreatesItEmpty) {
  std::string text = "untouched";
  uint32_t number = 0xDEADBEEF;
  EXPECT_FALSE(ReadRegString(kCurrentUser, "A\\B\\C", "Missing", &text));
  EXPECT_FALSE(ReadRegDword(kCurrentUser, "A\\B\\D", "Missing", &number));
  EXPECT_EQ(text, "untouched");
  EXPECT_EQ(number, 0xDEADBEEFu);
  EXPECT_THAT(Subkeys("A\\B"), ElementsAre("C", "D"));
  EXPECT_THAT(Subkeys("A\\B\\C"), IsEmpty());
  // The created key exists, so it can be deleted.
  EXPECT_TRUE(DeleteRegTree(kCurrentUser, "A\\B\\C"));
}

TEST_F(SettingsStoreTest, StringReadStopsAtFirstZeroByte) {
  // Bytes 'A', 0, 'B', 0: a value with a zero in the middle.
  ASSERT_TRUE(WriteRegDword(kCurrentUser, kKey, "Split", 0x00420041u));
  EXPECT_EQ(TextAt(kKey, "Split"), "A");
  ASSERT_TRUE(WriteRegDword(kCurrentUser, kKey, "Full", 0x44434241u));
  EXPECT_EQ(TextAt(kKey, "Full"), "ABCD");
}

TEST_F(SettingsStoreTest, DwordReadTakesFirstBytesOfAnyValue) {
  ASSERT_TRUE(WriteRegString(kCurrentUser, kKey, "Short", "abc"));
  ASSERT_TRUE(WriteRegString(kCurrentUser, kKey, "Long", "abcdef"));
  ASSERT_TRUE(WriteRegString(kCurrentUser, kKey, "Empty", ""));
  EXPECT_EQ(DwordAt(kKey, "Short"), 0x00636261u);
  EXPECT_EQ(DwordAt(kKey, "Long"), 0x64636261u);
  EXPECT_EQ(DwordAt(kKey, "Empty"), 0u);
}

TEST_F(SettingsStoreTest, MissingValuesLeaveOutputsUntouched) {
  ASSERT_TRUE(WriteRegString(kCurrentUser, kKey, "Present", "x"));
  uint32_t number = 0xDEADBEEF;
  std::string text = "untouched";
  EXPECT_FALSE(ReadRegDword(kCurrentUser, kKey, "Absent", &number));
  EXPECT_FALSE(ReadRegString(kCurrentUser, kKey, "Absent", &text));
  EXPECT_EQ(number, 0xDEADBEEFu);
  EXPECT_EQ(text, "untouched");
}

TEST_F(SettingsStoreTest, RootZeroAndEmptyPathsFailWithoutCreatingStore) {
  std::string text = "untouched";
  uint32_t number = 1;
  for (const char* path :
       {static_cast<const char*>(nullptr), "", "\\", "\\\\\\"}) {
    SCOPED_TRACE(path == nullptr ? "(null)" : path);
    EXPECT_FALSE(WriteRegString(kCurrentUser, path, "v", "x"));
    EXPECT_FALSE(WriteRegDword(kCurrentUser, path, "v", 1));
    EXPECT_FALSE(ReadRegString(kCurrentUser, path, "v", &text));
    EXPECT_FALSE(ReadRegDword(kCurrentUser, path, "v", &number));
    EXPECT_FALSE(DeleteRegTree(kCurrentUser, path));
    EXPECT_EQ(OpenSettingsKey(kCurrentUser, path), nullptr);
  }
  EXPECT_FALSE(WriteRegString(0, kKey, "v", "x"));
  EXPECT_FALSE(WriteRegDword(0, kKey, "v", 1));
  EXPECT_FALSE(ReadRegString(0, kKey, "v", &text));
  EXPECT_FALSE(ReadRegDword(0, kKey, "v", &number));
  EXPECT_FALSE(DeleteRegTree(0, kKey));
  EXPECT_EQ(OpenSettingsKey(0, kKey), nullptr);
  EXPECT_FALSE(WriteRegString(kCurrentUser, kKey, "v", nullptr));
  EXPECT_EQ(text, "untouched");
  EXPECT_EQ(number, 1u);
  EXPECT_FALSE(std::filesystem::exists(SettingsStorePath()));
}

TEST_F(SettingsStoreTest, EmptyLevelsInPathsAreIgnored) {
  ASSERT_TRUE(WriteRegString(kCurrentUser, "\\Outer\\\\Inner\\", "v", "x"));
  EXPECT_EQ(TextAt("Outer\\Inner", "v"), "x");
  EXPECT_THAT(Subkeys("Outer"), ElementsAre("Inner"));
  // The program's own key is named with a trailing backslash.
  EXPECT_TRUE(DeleteRegTree(kCurrentUser, "Outer\\"));
  EXPECT_FALSE(DeleteRegTree(kCurrentUser, "Outer"));
}

TEST_F(SettingsStoreTest, DeleteRemovesTwoLevelSubtreeOnly) {
  const char* kTree = "Root\\Tree";
  ASSERT_TRUE(WriteRegString(kCurrentUser, kTree, "Top", "t"));
  ASSERT_TRUE(WriteRegDword(kCurrentUser, "Root\\Tree\\Child-1", "ID", 1));
  ASSERT_TRUE(
      WriteRegDword(kCurrentUser, "Root\\Tree\\Child-1\\Grand", "ID", 11));
  ASSERT_TRUE(WriteRegDword(kCurrentUser, "Root\\Tree\\Child-2", "ID", 2));
  ASSERT_TRUE(WriteRegDword(kCurrentUser, "Root\\Sibling", "ID", 3));
  ASSERT_TRUE(WriteRegDword(kCurrentUser, "Root", "ID", 4));

  EXPECT_TRUE(DeleteRegTree(kCurrentUser, "root\\TREE"));
  EXPECT_THAT(Subkeys("Root"), ElementsAre("Sibling"));
  EXPECT_FALSE(DeleteRegTree(kCurrentUser, kTree));

  EXPECT_EQ(DwordAt("Root\\Sibling", "ID"), 3u);
  EXPECT_EQ(DwordAt("Root", "ID"), 4u);
  // Values of the deleted keys do not come back with a key of the same
  // name.
  EXPECT_EQ(DwordAt("Root\\Tree\\Child-1", "ID"), std::nullopt);
  EXPECT_EQ(TextAt(kTree, "Top"), std::nullopt);
  EXPECT_THAT(Subkeys(kTree), ElementsAre("Child-1"));
}

TEST_F(SettingsStoreTest, FailedDeleteLeavesStoreAsItWas) {
  ASSERT_TRUE(WriteRegDword(kCurrentUser, "Root\\Kept", "ID", 1));
  EXPECT_FALSE(DeleteRegTree(kCurrentUser, ""));
  EXPECT_FALSE(DeleteRegTree(kCurrentUser, nullptr));
  EXPECT_FALSE(DeleteRegTree(kCurrentUser, "Root\\Missing"));
  EXPECT_FALSE(DeleteRegTree(kCurrentUser, "Absent\\Deeper"));
  EXPECT_THAT(Subkeys("Root"), ElementsAre("Kept"));
  EXPECT_EQ(DwordAt("Root\\Kept", "ID"), 1u);
  // Unlike reads, a failed delete creates nothing on its way.
  EXPECT_FALSE(DeleteRegTree(kCurrentUser, "Absent"));
}

TEST_F(SettingsStoreTest, SubkeysEnumerateInFoldedNameOrder) {
  const char* kList = "Software\\Vocor\\Vocor for Windows\\Dictionaries";
  for (const char* name :
       {"Item-2", "Item-10", "item-1", "Item-0", "aB", "a_b", "ITEM-3"}) {
    std::string path = std::string(kList) + "\\" + name;
    ASSERT_TRUE(WriteRegDword(kCurrentUser, path.c_str(), "ID", 0));
  }
  // '_' sorts after upper-case letters, as the registry compares names.
  EXPECT_THAT(Subkeys(kList), ElementsAre("aB", "a_b", "Item-0", "item-1",
                                          "Item-10", "Item-2", "ITEM-3"));
  std::unique_ptr<SettingsKey> key = OpenSettingsKey(kCurrentUser, kList);
  ASSERT_NE(key, nullptr);
  std::string name = "untouched";
  EXPECT_FALSE(key->SubkeyName(-1, &name));
  EXPECT_FALSE(key->SubkeyName(7, &name));
  EXPECT_EQ(name, "untouched");

  // The whole listing at once, in the same order; a missing key is told
  // apart and is not created.
  std::vector<std::string> names;
  EXPECT_EQ(ListSubkeys(kCurrentUser, kList, &names), KeyListing::kListed);
  EXPECT_EQ(names, Subkeys(kList));
  EXPECT_EQ(ListSubkeys(kCurrentUser, "Software\\Absent", &names),
            KeyListing::kMissing);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(ListSubkeys(kCurrentUser, "Software\\Absent\\Deeper", &names),
            KeyListing::kMissing);
  EXPECT_EQ(ListSubkeys(kCurrentUser, "", &names), KeyListing::kFailed);
  EXPECT_EQ(ListSubkeys(0, kList, &names), KeyListing::kFailed);
  EXPECT_THAT(Subkeys("Software"), Not(Contains("Absent")));
}

TEST_F(SettingsStoreTest, KeyHandleSeesTheKeyAsItIsNow) {
  std::unique_ptr<SettingsKey> key = OpenSettingsKey(kCurrentUser, "Live");
  ASSERT_NE(key, nullptr);
  std::string name;
  EXPECT_FALSE(key->SubkeyName(0, &name));
  ASSERT_TRUE(WriteRegDword(kCurrentUser, "Live\\Item-0", "ID", 1));
  EXPECT_TRUE(key->SubkeyName(0, &name));
  EXPECT_EQ(name, "Item-0");
  ASSERT_TRUE(DeleteRegTree(kCurrentUser, "Live"));
  EXPECT_FALSE(key->SubkeyName(0, &name));
}

TEST_F(SettingsStoreTest, LocationFollowsEnvironment) {
  const std::string config = home_.root() + "/home/.config";
  EXPECT_EQ(SettingsStorePath(), config + "/Vocor/settings.sqlite");
  ASSERT_TRUE(WriteRegDword(kCurrentUser, kKey, "Where", 1));
  EXPECT_TRUE(std::filesystem::exists(config + "/Vocor/settings.sqlite"));

  const std::string other = home_.root() + "/other";
  setenv("XDG_CONFIG_HOME", other.c_str(), 1);
  EXPECT_EQ(SettingsStorePath(), other + "/Vocor/settings.sqlite");
  EXPECT_EQ(DwordAt(kKey, "Where"), std::nullopt);
  ASSERT_TRUE(WriteRegDword(kCurrentUser, kKey, "Where", 2));

  // Unset, empty or relative: the home folder's .config.
  for (const char* value : {static_cast<const char*>(nullptr), "", "rel"}) {
    if (value == nullptr) {
      unsetenv("XDG_CONFIG_HOME");
    } else {
      setenv("XDG_CONFIG_HOME", value, 1);
    }
    EXPECT_EQ(SettingsStorePath(), config + "/Vocor/settings.sqlite");
    EXPECT_EQ(DwordAt(kKey, "Where"), 1u);
  }
}

TEST_F(SettingsStoreTest, StoreRemovedBetweenCallsStartsAfresh) {
  ASSERT_TRUE(WriteRegDword(kCurrentUser, kKey, "Gone", 1));
  std::error_code error;
  std::filesystem::remove_all(
      std::filesystem::path(SettingsStorePath()).parent_path(), error);
  ASSERT_FALSE(error);
  EXPECT_EQ(DwordAt(kKey, "Gone"), std::nullopt);
  EXPECT_TRUE(WriteRegDword(kCurrentUser, kKey, "Back", 2));
  EXPECT_EQ(DwordAt(kKey, "Back"), 2u);
}

}  // namespace
}  // namespace vocor
