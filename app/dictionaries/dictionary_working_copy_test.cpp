// The Configure Dictionaries working copies against the settings store:
// what OK stores, what Cancel leaves, and what is destroyed when; and
// where the Install file dialog opens.
#include "app/dictionaries/dictionary_working_copy.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>

#include "app/dictionaries/configure_dictionaries_texts.h"
#include "dictionary/testing/install_elsewhere.h"
#include "dictionary/testing/member_names.h"
#include "dictionary/testing/scratch_dir.h"
#include "settings/scratch_home.h"
#include "settings/settings_store.h"
#include "settings/store_lock.h"

namespace vocor {
namespace {

using Names = std::vector<std::string>;
using testing::MemberNames;

CDictionary* Nth(CDictionarySet* set, int n) {
  return *std::next(set->members().items().begin(), n);
}

CDictionarySet* NthSet(const DictionaryState& state, int n) {
  return dynamic_cast<CDictionarySet*>(Nth(state.all_sets(), n));
}

uint32_t StoredActive() {
  uint32_t id = 0xDEADu;
  ReadRegDword(kCurrentUser, kSettingsKey, "ActiveDictionary", &id);
  return id;
}

class DictionaryWorkingCopyTest : public ::testing::Test {
 protected:
  DictionaryWorkingCopyTest() {
    state_.LoadDictionaries();
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
      EXPECT_NE(state_.Install(Text(name)), nullptr);
    }
    auto set = std::make_unique<CDictionarySet>();
    set->SetName("AB");
    set->members().AddTail(Nth(state_.all_dictionaries(), 0));
    set->members().AddTail(Nth(state_.all_dictionaries(), 1));
    state_.all_sets()->AdoptMember(std::move(set));
    EXPECT_EQ(state_.Save(), ListsResult::kOk);
  }
  ~DictionaryWorkingCopyTest() override { CloseSettingsStore(); }

  std::string Text(const std::string& name) {
    return files_.Write(name, name + "\n");
  }
  // The lists as the next start of the program reads them.
  Names StoredDictionaries() {
    DictionaryState stored;
    stored.LoadDictionaries();
    return MemberNames(*stored.all_dictionaries());
  }
  Names StoredSetMembers() {
    DictionaryState stored;
    stored.LoadDictionaries();
    return MemberNames(*NthSet(stored, 0));
  }

  ScratchHome home_;
  testing::ScratchDir files_;
  DictionaryState state_;
};

TEST_F(DictionaryWorkingCopyTest, OkWithoutChangesStoresNothing) {
  const std::string before = DumpStore();
  {
    DictionaryWorkingCopy work(&state_);
    EXPECT_FALSE(work.modified());
    EXPECT_EQ(work.Commit(), ListsResult::kOk);
  }
  EXPECT_EQ(DumpStore(), before);
  EXPECT_EQ(MemberNames(*state_.all_dictionaries()),
            (Names{"a.txt", "b.txt", "c.txt"}));
}

TEST_F(DictionaryWorkingCopyTest, InstallThenCancelDestroysItAndStoresNothing) {
  const std::string before = DumpStore();
  int id = -1;
  {
    DictionaryWorkingCopy work(&state_);
    CDictionary* installed = work.Install(Text("d.txt"));
    ASSERT_NE(installed, nullptr);
    id = installed->id();
    EXPECT_EQ(work.dictionaries().GetCount(), 4);
    EXPECT_EQ(state_.all_dictionaries()->members().GetCount(), 3);
    work.Discard();
  }
  EXPECT_EQ(CDictionary::FindById(id), nullptr);
  EXPECT_EQ(DumpStore(), before);
  EXPECT_EQ(state_.all_dictionaries()->members().GetCount(), 3);
}

TEST_F(DictionaryWorkingCopyTest, InstallThenUninstallDestroysAtTheUninstall) {
  DictionaryWorkingCopy work(&state_);
  CDictionary* installed = work.Install(Text("d.txt"));
  ASSERT_NE(installed, nullptr);
  const int id = installed->id();
  ASSERT_TRUE(work.Uninstall(installed));
  EXPECT_EQ(CDictionary::FindById(id), nullptr);
  EXPECT_EQ(work.Commit(), ListsResult::kOk);
  EXPECT_EQ(StoredDictionaries(), (Names{"a.txt", "b.txt", "c.txt"}));
}

TEST_F(DictionaryWorkingCopyTest, AFileOfNeitherFormatIsRefused) {
  DictionaryWorkingCopy work(&state_);
  EXPECT_EQ(work.Install(files_.Write("bin.dat", std::string("\0\1\2", 3))),
            nullptr);
  EXPECT_EQ(work.Install(files_.path() + "/missing.txt"), nullptr);
  EXPECT_FALSE(work.modified());
}

TEST_F(DictionaryWorkingCopyTest,
       UninstallingTheActiveOneStoresAllDictionaries) {
  CDictionary* b = Nth(state_.all_dictionaries(), 1);
  ASSERT_TRUE(state_.SetActive(b));
  const int b_id = b->id();
  DictionaryWorkingCopy work(&state_);
  ASSERT_TRUE(work.Uninstall(b));
  // Nothing of the application's is touched before OK.
  EXPECT_EQ(state_.active(), b);
  EXPECT_EQ(MemberNames(*NthSet(state_, 0)), (Names{"a.txt", "b.txt"}));
  EXPECT_EQ(work.Commit(), ListsResult::kOk);
  EXPECT_EQ(CDictionary::FindById(b_id), nullptr);
  EXPECT_EQ(state_.active(), state_.all_dictionaries());
  EXPECT_EQ(StoredActive(),
            static_cast<uint32_t>(state_.all_dictionaries()->id()));
  EXPECT_EQ(StoredDictionaries(), (Names{"a.txt", "c.txt"}));
}

TEST_F(DictionaryWorkingCopyTest, UninstallingASetMemberTakesItOutOfTheSet) {
  DictionaryWorkingCopy work(&state_);
  ASSERT_TRUE(work.Uninstall(Nth(state_.all_dictionaries(), 0)));
  EXPECT_EQ(MemberNames(*dynamic_cast<CDictionarySet*>(work.sets()[0].get())),
            (Names{"b.txt"}));
  EXPECT_EQ(work.Commit(), ListsResult::kOk);
  EXPECT_EQ(MemberNames(*NthSet(state_, 0)), (Names{"b.txt"}));
  EXPECT_EQ(StoredSetMembers(), (Names{"b.txt"}));
}

TEST_F(DictionaryWorkingCopyTest,
       ASetKeptAmongTheDictionariesLosesTheMemberToo) {
  auto kept = std::make_unique<CDictionarySet>();
  kept->SetName("Kept");
  kept->members().AddTail(Nth(state_.all_dictionaries(), 2));
  CDictionarySet* set = kept.get();
  state_.all_dictionaries()->AdoptMember(std::move(kept));
  DictionaryWorkingCopy work(&state_);
  ASSERT_TRUE(work.Uninstall(Nth(state_.all_dictionaries(), 2)));
  EXPECT_EQ(MemberNames(*set), (Names{"c.txt"}));  // not before OK
  EXPECT_EQ(work.Commit(), ListsResult::kOk);
  // The set's working copy has taken its place.
  auto* after = dynamic_cast<CDictionarySet*>(
      state_.all_dictionaries()->members().items().back());
  ASSERT_NE(after, nullptr);
  EXPECT_STREQ(after->GetName(), "Kept");
  EXPECT_TRUE(after->members().IsEmpty());
}

TEST_F(DictionaryWorkingCopyTest, AnActiveSetStaysActiveAsItsCopy) {
  CDictionarySet* original = NthSet(state_, 0);
  ASSERT_TRUE(state_.SetActive(original));
  DictionaryWorkingCopy work(&state_);
  ASSERT_TRUE(work.Uninstall(Nth(state_.all_dictionaries(), 2)));
  EXPECT_EQ(work.Commit(), ListsResult::kOk);
  CDictionarySet* copy = NthSet(state_, 0);
  EXPECT_EQ(state_.active(), copy);
  EXPECT_STREQ(copy->GetName(), "AB");
  EXPECT_EQ(StoredActive(), static_cast<uint32_t>(copy->id()));
}

TEST_F(DictionaryWorkingCopyTest, ASetInsideASetFollowsToTheCopies) {
  auto outer = std::make_unique<CDictionarySet>();
  outer->SetName("Outer");
  outer->members().AddTail(NthSet(state_, 0));
  state_.all_sets()->AdoptMember(std::move(outer));
  DictionaryWorkingCopy work(&state_);
  ASSERT_TRUE(work.Activate(Nth(state_.all_dictionaries(), 0)));
  EXPECT_EQ(work.Commit(), ListsResult::kOk);
  EXPECT_EQ(MemberNames(*NthSet(state_, 1)), (Names{"AB"}));
  EXPECT_EQ(NthSet(state_, 1)->members().items().front(), NthSet(state_, 0));
}

TEST_F(DictionaryWorkingCopyTest, ActivatingANewDictionaryKeepsItActive) {
  DictionaryWorkingCopy work(&state_);
  CDictionary* installed = work.Install(Text("d.txt"));
  ASSERT_TRUE(work.Activate(installed));
  EXPECT_EQ(work.Commit(), ListsResult::kOk);
  EXPECT_EQ(state_.active(), installed);
  EXPECT_TRUE(state_.all_dictionaries()->Owns(installed));
  EXPECT_EQ(StoredActive(), static_cast<uint32_t>(installed->id()));
  EXPECT_EQ(StoredDictionaries(), (Names{"a.txt", "b.txt", "c.txt", "d.txt"}));
}

TEST_F(DictionaryWorkingCopyTest,
       AnotherProcessesSaveIsReloadedNotOverwritten) {
  // The parent's objects are copied into the child and hold the stored
  // ids, which another program would not have.
  ASSERT_TRUE(testing::InstallInAnotherProcess(Text("x.txt"), [this] {
    state_.all_sets()->DeleteAll();
    state_.all_dictionaries()->DeleteAll();
  }));

  const std::string before = DumpStore();
  DictionaryWorkingCopy work(&state_);
  ASSERT_TRUE(work.Uninstall(Nth(state_.all_dictionaries(), 0)));
  EXPECT_EQ(work.Commit(), ListsResult::kChanged);
  EXPECT_EQ(DumpStore(), before);
  EXPECT_EQ(MemberNames(*state_.all_dictionaries()),
            (Names{"a.txt", "b.txt", "c.txt", "x.txt"}));
  EXPECT_EQ(MemberNames(*NthSet(state_, 0)), (Names{"a.txt", "b.txt"}));
  // Another window or vocor-cli: the message names neither.
  const std::string message = ListsNotStoredMessage(ListsResult::kChanged);
  EXPECT_NE(message.find("by another program"), std::string::npos);
  EXPECT_EQ(message.find("Vocor window"), std::string::npos);
}

// A set stored among the dictionaries is worked on as a copy too: it shows
// a member's uninstall at once, Cancel leaves the original whole, and OK
// stores the copy in its place, still named by the sets that hold it.
TEST_F(DictionaryWorkingCopyTest, ASetListedAmongTheDictionariesIsACopy) {
  auto listed = std::make_unique<CDictionarySet>();
  listed->SetName("BC");
  listed->members().AddTail(Nth(state_.all_dictionaries(), 1));
  listed->members().AddTail(Nth(state_.all_dictionaries(), 2));
  CDictionary* original = listed.get();
  state_.all_dictionaries()->AdoptMember(std::move(listed));
  NthSet(state_, 0)->members().AddTail(original);
  ASSERT_TRUE(state_.SetActive(original));
  ASSERT_EQ(state_.Save(), ListsResult::kOk);
  const int words = original->GetWordCount();
  CDictionary* b = Nth(state_.all_dictionaries(), 1);
  {
    DictionaryWorkingCopy work(&state_);
    CDictionary* copy = work.WorkingCopyOf(original);
    ASSERT_NE(copy, original);
    EXPECT_TRUE(work.dictionaries().Find(copy));
    ASSERT_TRUE(work.Uninstall(b));
    EXPECT_LT(copy->GetWordCount(), words);
    EXPECT_EQ(MemberNames(*static_cast<CDictionarySet*>(copy)),
              (Names{"c.txt"}));
    work.Discard();
  }
  EXPECT_EQ(original->GetWordCount(), words);
  DictionaryWorkingCopy work(&state_);
  ASSERT_TRUE(work.Uninstall(b));
  EXPECT_EQ(work.Commit(), ListsResult::kOk);
  auto* stored = dynamic_cast<CDictionarySet*>(
      state_.all_dictionaries()->members().items().back());
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(state_.active(), stored);
  EXPECT_EQ(MemberNames(*stored), (Names{"c.txt"}));
  DictionaryState reloaded;
  reloaded.LoadDictionaries();
  EXPECT_EQ(MemberNames(*reloaded.all_dictionaries()),
            (Names{"a.txt", "c.txt", "BC"}));
  EXPECT_EQ(MemberNames(*NthSet(reloaded, 0)), (Names{"a.txt", "BC"}));
}

}  // namespace
}  // namespace vocor

namespace vocor {
namespace {

TEST(InstallStartFolderTest, ShippedLanguagesBesideOrInstalledElseData) {
  testing::ScratchDir root;
  const std::string program = root.path() + "/prefix/bin";
  std::filesystem::create_directories(program);
  EXPECT_EQ(InstallStartFolder(program, "/data"), "/data");
  const std::string installed = root.path() + "/prefix/share/vocor/Languages";
  std::filesystem::create_directories(installed);
  EXPECT_EQ(InstallStartFolder(program, "/data"), installed);
  std::filesystem::create_directories(program + "/Languages");
  EXPECT_EQ(InstallStartFolder(program, "/data"), program + "/Languages");
}

}  // namespace
}  // namespace vocor
