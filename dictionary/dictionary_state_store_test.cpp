// The installed lists against a store shared with other processes: locks
// held by others, stores that cannot be read or written, saves by others
// in between, and processes killed while they load and save.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <random>

#include "dictionary/dictionary_state.h"
#include "dictionary/testing/damaged_dic.h"
#include "dictionary/testing/install_elsewhere.h"
#include "dictionary/testing/member_names.h"
#include "dictionary/testing/scratch_dir.h"
#include "dictionary/vocor_file_writer.h"
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

class DictionaryStateStoreTest : public ::testing::Test {
 protected:
  ~DictionaryStateStoreTest() override { CloseSettingsStore(); }

  std::string Text(const std::string& name) {
    return files_.Write(name, name + "\n");
  }

  // Stores the text lists `names` and a set "Both" of the first two.
  void StoreLists(const Names& names) {
    DictionaryState state;
    state.LoadDictionaries();
    for (const auto& name : names)
      ASSERT_NE(state.Install(Text(name)), nullptr);
    auto set = std::make_unique<CDictionarySet>();
    set->SetName("Both");
    for (int i = 0; i < 2; ++i) {
      set->members().AddTail(Nth(state.all_dictionaries(), i));
    }
    state.all_sets()->AdoptMember(std::move(set));
    ASSERT_EQ(state.Save(), ListsResult::kOk);
  }

  ScratchHome home_;
  testing::ScratchDir files_;
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
      .count();
}

TEST_F(DictionaryStateStoreTest,
       AnotherWritersLockNeitherStopsLoadsNorCostsLists) {
  StoreLists({"a.txt", "b.txt"});
  // The next load opens the store afresh, under the other's lock.
  ASSERT_TRUE(CloseSettingsStore());
  const std::string before = DumpStore();
  StoreLock lock;
  ASSERT_TRUE(lock.held());

  DictionaryState state;
  const auto start = std::chrono::steady_clock::now();
  state.LoadDictionaries();
  EXPECT_LT(SecondsSince(start), 1.0);
  ASSERT_TRUE(state.loaded());
  EXPECT_EQ(MemberNames(*state.all_dictionaries()), (Names{"a.txt", "b.txt"}));
  ASSERT_EQ(state.all_sets()->members().GetCount(), 1);

  ASSERT_NE(state.Install(Text("c.txt")), nullptr);
  EXPECT_EQ(state.Save(), ListsResult::kBusy);
  ASSERT_TRUE(state.Uninstall(Nth(state.all_dictionaries(), 0)));
  EXPECT_FALSE(state.SaveDictionaries());
  lock.Release();
  EXPECT_EQ(DumpStore(), before);
}

TEST_F(DictionaryStateStoreTest, ListsThatCouldNotBeReadAreNeverStored) {
  StoreLists({"a.txt", "b.txt"});
  ASSERT_TRUE(CloseSettingsStore());
  const std::string before = DumpStore();
  const std::string data = files_.path() + "/Data";
  std::filesystem::create_directory(data);
  std::string bytes, error;
  ASSERT_TRUE(
      BuildVocorFile({"word"}, VocorFileInfo(), &bytes, nullptr, &error));
  files_.Write("Data/real.dic", bytes);
  {
    DictionaryState state;
    StoreLock lock(StoreLock::Kind::kEverything);
    ASSERT_TRUE(lock.held());
    state.LoadDictionaries();
    EXPECT_FALSE(state.loaded());
    EXPECT_EQ(state.load_result(), ListsResult::kBusy);
    // Once the store is free again, the lists in memory are still not the
    // user's: nothing may store them, first-run installation included.
    lock.Release();
    ASSERT_NE(state.Install(Text("c.txt")), nullptr);
    EXPECT_EQ(state.Save(), ListsResult::kNotLoaded);
    EXPECT_FALSE(state.SaveActiveDictionary());
    EXPECT_EQ(state.InstallDataFolderDictionaries(data), 0);
  }
  EXPECT_EQ(DumpStore(), before);
  DictionaryState state;
  state.LoadDictionaries();
  EXPECT_TRUE(state.loaded());
  EXPECT_EQ(MemberNames(*state.all_dictionaries()), (Names{"a.txt", "b.txt"}));
}

TEST_F(DictionaryStateStoreTest, ASaveByAnotherProcessSinceTheLoadIsNoticed) {
  DictionaryState state;
  state.LoadDictionaries();
  ASSERT_NE(state.Install(Text("a.txt")), nullptr);
  ASSERT_EQ(state.Save(), ListsResult::kOk);
  ASSERT_TRUE(testing::InstallInAnotherProcess(Text("b.txt")));

  ASSERT_NE(state.Install(Text("c.txt")), nullptr);
  const std::string before = DumpStore();
  EXPECT_EQ(state.Save(), ListsResult::kChanged);
  EXPECT_EQ(DumpStore(), before);
  state.LoadDictionaries();
  EXPECT_EQ(MemberNames(*state.all_dictionaries()), (Names{"a.txt", "b.txt"}));
  ASSERT_NE(state.Install(Text("c.txt")), nullptr);
  EXPECT_EQ(state.Save(), ListsResult::kOk);
}

TEST_F(DictionaryStateStoreTest, AReadOnlyStoreShowsTheListsAndRefusesSaves) {
  StoreLists({"a.txt", "b.txt"});
  ASSERT_TRUE(CloseSettingsStore());
  const std::string before = DumpStore();
  ForceSettingsStoreReadOnlyForTesting(true);
  {
    DictionaryState state;
    state.LoadDictionaries();
    EXPECT_TRUE(state.loaded());
    EXPECT_EQ(MemberNames(*state.all_dictionaries()),
              (Names{"a.txt", "b.txt"}));
    ASSERT_NE(state.Install(Text("c.txt")), nullptr);
    EXPECT_EQ(state.Save(), ListsResult::kReadOnly);
  }
  CloseSettingsStore();
  ForceSettingsStoreReadOnlyForTesting(false);
  EXPECT_EQ(DumpStore(), before);
}

TEST_F(DictionaryStateStoreTest, InstallRefusesADamagedBinaryDictionary) {
  const std::string path =
      files_.Write("damaged.dic", testing::RootCountOneTooHigh());
  ASSERT_NE(OpenDictionaryFile(path.c_str()), nullptr);

  DictionaryState state;
  state.LoadDictionaries();
  EXPECT_EQ(state.Install(path), nullptr);
  EXPECT_EQ(state.all_dictionaries()->members().GetCount(), 0);
  std::string bytes, error;
  ASSERT_TRUE(BuildVocorFile({"x"}, VocorFileInfo(), &bytes, nullptr, &error));
  EXPECT_NE(state.Install(files_.Write("sound.dic", bytes)), nullptr);
}

TEST_F(DictionaryStateStoreTest, FilesThatNoLongerOpenAreReportedAndLeftOut) {
  StoreLists({"a.txt", "b.txt", "c.txt"});
  const std::string gone = files_.path() + "/b.txt";
  ASSERT_TRUE(std::filesystem::remove(gone));
  DictionaryState state;
  state.LoadDictionaries();
  EXPECT_TRUE(state.loaded());
  EXPECT_EQ(state.unopened_files(), (Names{gone}));
  EXPECT_EQ(MemberNames(*state.all_dictionaries()), (Names{"a.txt", "c.txt"}));
}

TEST_F(DictionaryStateStoreTest, OnlySearchableDictionariesBecomeActive) {
  StoreLists({"a.txt", "b.txt"});
  DictionaryState state;
  WriteRegDword(kCurrentUser, kSettingsKey, "ActiveDictionary",
                static_cast<uint32_t>(state.all_sets()->id()));
  state.LoadDictionaries();
  EXPECT_EQ(state.active(), state.all_dictionaries());
  EXPECT_FALSE(state.SetActive(state.all_sets()));
  CDictionarySet stray;
  EXPECT_FALSE(state.SetActive(&stray));
  EXPECT_EQ(state.active(), state.all_dictionaries());
  CDictionary* set = state.all_sets()->members().items().front();
  EXPECT_TRUE(state.SetActive(set));
  EXPECT_EQ(state.active(), set);
}

TEST_F(DictionaryStateStoreTest,
       ASetAmongTheDictionariesLosesUninstalledMembers) {
  int kept_id = 0, mixed_id = 0;
  {
    DictionaryState state;
    state.LoadDictionaries();
    CDictionary* a = state.Install(Text("a.txt"));
    CDictionary* b = state.Install(Text("b.txt"));
    ASSERT_TRUE(a != nullptr && b != nullptr);
    auto mixed = std::make_unique<CDictionarySet>();
    mixed->SetName("Mixed");
    mixed->members().AddTail(a);
    mixed->members().AddTail(b);
    CDictionarySet* mixed_set = mixed.get();
    mixed_id = mixed->id();
    state.all_dictionaries()->AdoptMember(std::move(mixed));
    auto outer = std::make_unique<CDictionarySet>();
    outer->SetName("Outer");
    outer->members().AddTail(mixed_set);
    outer->members().AddTail(a);
    CDictionarySet* outer_set = outer.get();
    state.all_sets()->AdoptMember(std::move(outer));
    // A working copy, as the configuration dialog keeps one.
    CDictionarySet copy(*state.all_sets(), true);
    auto* outer_copy =
        static_cast<CDictionarySet*>(copy.members().items().front());

    ASSERT_TRUE(state.Uninstall(a));
    EXPECT_EQ(MemberNames(*mixed_set), (Names{"b.txt"}));
    EXPECT_EQ(MemberNames(*outer_set), (Names{"Mixed"}));
    EXPECT_EQ(MemberNames(*outer_copy), (Names{"Mixed"}));
    EXPECT_EQ(mixed_set->GetWordCount(), b->GetWordCount());
    kept_id = b->id();
    ASSERT_EQ(state.Save(), ListsResult::kOk);
  }
  std::string list;
  ASSERT_TRUE(ReadRegString(
      kCurrentUser, (std::string(kDictionariesKey) + "\\Item-1").c_str(),
      "List", &list));
  EXPECT_EQ(list, std::to_string(kept_id));
  ASSERT_TRUE(ReadRegString(kCurrentUser,
                            (std::string(kSetsKey) + "\\Item-0").c_str(),
                            "List", &list));
  EXPECT_EQ(list, std::to_string(mixed_id));
}

// Loads, changes and saves the lists for ever, as commands run one after
// another would: the dictionaries alternate between two and four, and the
// set "All" always holds every one of them.
[[noreturn]] void LoadChangeSaveForever(const Names& files) {
  for (;;) {
    DictionaryState state;
    state.LoadDictionaries();
    if (!state.loaded()) ::_exit(3);
    CDictionarySet* all = state.all_dictionaries();
    if (all->members().GetCount() == 2) {
      for (size_t i = 2; i < files.size(); ++i) state.Install(files[i]);
    } else {
      while (all->members().GetCount() > 2) {
        state.Uninstall(all->members().items().back());
      }
    }
    auto* set = static_cast<CDictionarySet*>(
        state.all_sets()->members().items().front());
    set->members().CopyFrom(all->members());
    if (state.Save() != ListsResult::kOk) ::_exit(4);
  }
}

TEST_F(DictionaryStateStoreTest, KillsDuringLoadAndSaveLeaveWholeLists) {
  const Names names = {"a.txt", "b.txt", "c.txt", "d.txt"};
  StoreLists({names[0], names[1]});
  Names files;
  for (const auto& name : names) files.push_back(files_.path() + "/" + name);
  std::mt19937 random(7);
  uint32_t last_generation = 0;
  for (int round = 0; round < 16; ++round) {
    ASSERT_TRUE(CloseSettingsStore());
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) LoadChangeSaveForever(files);
    ::usleep(2000 + random() % 40000);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child failed: " << status;

    DictionaryState state;
    state.LoadDictionaries();
    ASSERT_TRUE(state.loaded());
    const Names stored = MemberNames(*state.all_dictionaries());
    EXPECT_TRUE(stored == (Names{names[0], names[1]}) || stored == names)
        << stored.size();
    ASSERT_EQ(state.all_sets()->members().GetCount(), 1);
    EXPECT_EQ(MemberNames(*static_cast<CDictionarySet*>(
                  state.all_sets()->members().items().front())),
              stored);
    EXPECT_GE(state.generation(), last_generation);
    last_generation = state.generation();
  }
  EXPECT_GT(last_generation, 1u) << "the child never saved";
}

}  // namespace
}  // namespace vocor
