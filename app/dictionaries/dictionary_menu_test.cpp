#include "app/dictionaries/dictionary_menu.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "dictionary/dictionary_set.h"
#include "dictionary/dictionary_state.h"
#include "dictionary/text_file_dictionary.h"

namespace vocor {
namespace {

// Named sets stand in for installed dictionaries: the menu needs only a
// name and an identity.
CDictionary* Install(CDictionarySet* container, const std::string& name) {
  auto dictionary = std::make_unique<CDictionarySet>();
  dictionary->SetName(name.c_str());
  CDictionary* raw = dictionary.get();
  container->AdoptMember(std::move(dictionary));
  return raw;
}

class DictionaryMenuTest : public ::testing::Test {
 protected:
  // Installs `count` dictionaries named "dict00".. in reverse order, so
  // that the menu has to sort them.
  void InstallDictionaries(int count) {
    for (int i = count - 1; i >= 0; --i) {
      char name[16];
      std::snprintf(name, sizeof name, "dict%02d", i);
      Install(state_.all_dictionaries(), name);
    }
  }

  std::vector<DictionaryMenuEntry> Build(bool searching = false) {
    return BuildDictionaryMenu(state_.all_dictionaries(), state_.all_sets(),
                               state_.active(), searching);
  }

  DictionaryState state_;
};

TEST_F(DictionaryMenuTest, FortyDictionariesNoSets) {
  InstallDictionaries(40);
  const std::vector<DictionaryMenuEntry> menu = Build();
  ASSERT_EQ(menu.size(), 32u);  // All, separator, 30 dictionaries
  EXPECT_EQ(menu[0].text, "&1 All Dictionaries");
  EXPECT_EQ(menu[0].dictionary, state_.all_dictionaries());
  EXPECT_EQ(menu[1].dictionary, nullptr);
  EXPECT_EQ(menu[2].text, "&2 dict00");
  EXPECT_EQ(menu[9].text, "&9 dict07");
  EXPECT_EQ(menu[10].text, "1&0 dict08");
  EXPECT_EQ(menu[12].text, "1&2 dict10");
  EXPECT_EQ(menu[31].text, "3&1 dict29");
  for (size_t i = 0; i < menu.size(); ++i) {
    EXPECT_EQ(menu[i].command, kFirstDictionaryCommand + static_cast<int>(i));
    EXPECT_TRUE(menu[i].enabled);
  }
  EXPECT_EQ(menu.back().command, kLastDictionaryCommand);
}

TEST_F(DictionaryMenuTest, AllDictionariesActiveMarksItAndItsMembers) {
  InstallDictionaries(2);
  const std::vector<DictionaryMenuEntry> menu = Build();
  EXPECT_EQ(menu[0].mark, MenuMark::kActive);
  EXPECT_EQ(menu[2].mark, MenuMark::kSetMember);
  EXPECT_EQ(menu[3].mark, MenuMark::kSetMember);
}

TEST_F(DictionaryMenuTest, ActiveSetCheckedItsMembersMarked) {
  CDictionary* apple = Install(state_.all_dictionaries(), "apple");
  CDictionary* berry = Install(state_.all_dictionaries(), "berry");
  Install(state_.all_dictionaries(), "cherry");
  auto* zeta = static_cast<CDictionarySet*>(Install(state_.all_sets(), "Zeta"));
  auto* alpha =
      static_cast<CDictionarySet*>(Install(state_.all_sets(), "Alpha"));
  alpha->members().AddTail(berry);
  zeta->members().AddTail(apple);
  state_.SetActive(alpha);

  const std::vector<DictionaryMenuEntry> menu = Build();
  ASSERT_EQ(menu.size(), 7u);
  EXPECT_EQ(menu[1].text, "&2 Alpha");
  EXPECT_EQ(menu[1].mark, MenuMark::kActive);
  EXPECT_EQ(menu[2].text, "&3 Zeta");
  EXPECT_EQ(menu[2].mark, MenuMark::kNone);
  EXPECT_EQ(menu[3].dictionary, nullptr);
  EXPECT_EQ(menu[4].text, "&4 apple");
  EXPECT_EQ(menu[4].mark, MenuMark::kNone);
  EXPECT_EQ(menu[5].dictionary, berry);
  EXPECT_EQ(menu[5].mark, MenuMark::kSetMember);
  EXPECT_EQ(menu[0].mark, MenuMark::kNone);
}

TEST_F(DictionaryMenuTest, EveryEntryGreyedWhileSearching) {
  InstallDictionaries(3);
  for (const DictionaryMenuEntry& entry : Build(/*searching=*/true)) {
    EXPECT_FALSE(entry.enabled);
  }
}

TEST_F(DictionaryMenuTest, NoSeparatorWithoutDictionaries) {
  const std::vector<DictionaryMenuEntry> menu = Build();
  ASSERT_EQ(menu.size(), 1u);
  EXPECT_EQ(menu[0].mark, MenuMark::kActive);
}

TEST_F(DictionaryMenuTest, ManySetsLeaveNoNumberForDictionaries) {
  for (int i = 0; i < 35; ++i) {
    Install(state_.all_sets(), "set" + std::to_string(100 + i));
  }
  InstallDictionaries(1);
  const std::vector<DictionaryMenuEntry> menu = Build();
  ASSERT_EQ(menu.size(), 32u);  // All, 30 sets, the separator
  EXPECT_EQ(menu[30].text, "3&1 set129");
  EXPECT_EQ(menu[31].dictionary, nullptr);
}

TEST(DictionaryMenuTextTest, AmpersandsDoubledAndMnemonicOnTheLastDigit) {
  EXPECT_EQ(DictionaryMenuText(3, "Salt & Pepper"), "&3 Salt && Pepper");
  EXPECT_EQ(DictionaryMenuText(10, "&&"), "1&0 &&&&");
  EXPECT_EQ(DictionaryMenuText(31, "x"), "3&1 x");
}

// An installed dictionary whose file could not be opened has no entry:
// it cannot be searched. With nothing else installed, no separator either.
TEST_F(DictionaryMenuTest, UnavailableDictionariesHaveNoEntry) {
  auto away = std::make_unique<CDictionaryTextFile>();
  away->SetFileName("/nowhere/away.txt");
  ASSERT_FALSE(away->Open());
  state_.all_dictionaries()->AdoptMember(std::move(away));
  EXPECT_EQ(Build().size(), 1u);
  Install(state_.all_dictionaries(), "here");
  const std::vector<DictionaryMenuEntry> menu = Build();
  ASSERT_EQ(menu.size(), 3u);
  EXPECT_EQ(menu[2].text, "&2 here");
}

}  // namespace
}  // namespace vocor
