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
#include "engine/testing/vector_enum.h"
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

// A folder renamed or a drive not mounted for one session must not cost
// the dictionary: it stays installed (and in its sets) but unsearched, and
// is stored at every save, by this process and by others.
TEST_F(DictionaryStateStoreTest, AFileThatCannotBeOpenedStaysInstalled) {
  StoreLists({"a.txt", "b.txt", "c.txt"});
  const std::string gone = files_.path() + "/b.txt";
  const std::string away = files_.path() + "/b.off";
  std::filesystem::rename(gone, away);
  std::string stored;
  {
    DictionaryState state;
    state.LoadDictionaries();
    EXPECT_TRUE(state.loaded());
    EXPECT_EQ(state.unopened_files(), (Names{gone}));
    CDictionary* b = Nth(state.all_dictionaries(), 1);
    EXPECT_TRUE(IsUnavailable(*b));
    EXPECT_FALSE(IsUnavailable(*Nth(state.all_dictionaries(), 0)));
    EXPECT_FALSE(state.SetActive(b));
    auto* both = static_cast<CDictionarySet*>(Nth(state.all_sets(), 0));
    EXPECT_EQ(both->members().GetCount(), 2);
    EXPECT_FALSE(IsUnavailable(*both));
    // Searches skip it: "All Dictionaries" and the set yield the others.
    EXPECT_TRUE(state.all_dictionaries()->IsOpen());
    EXPECT_EQ(
        testing::ReadAll(state.all_dictionaries()->CreateEnumerator().get()),
        (Names{"a", "txt", "c", "txt"}));
    EXPECT_EQ(testing::ReadAll(both->CreateEnumerator().get()),
              (Names{"a", "txt"}));
    ASSERT_NE(state.Install(Text("d.txt")), nullptr);
    ASSERT_EQ(state.Save(), ListsResult::kOk);
  }
  // Another process's install keeps it too.
  ASSERT_TRUE(testing::InstallInAnotherProcess(Text("e.txt")));
  std::filesystem::rename(away, gone);
  DictionaryState state;
  state.LoadDictionaries();
  EXPECT_TRUE(state.unopened_files().empty());
  EXPECT_EQ(MemberNames(*state.all_dictionaries()),
            (Names{"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"}));
  auto* both = static_cast<CDictionarySet*>(Nth(state.all_sets(), 0));
  EXPECT_EQ(MemberNames(*both), (Names{"a.txt", "b.txt"}));
  EXPECT_TRUE(state.SetActive(Nth(state.all_dictionaries(), 1)));
}

// The active dictionary whose file is away stays the stored choice through
// saves made meanwhile (an OK in Configure Dictionaries, an install), and is
// active again once its file is back; activating another or uninstalling
// it ends that.
TEST_F(DictionaryStateStoreTest,
       AnUnavailableActiveDictionaryStaysTheStoredChoice) {
  StoreLists({"a.txt", "b.txt"});
  const std::string gone = files_.path() + "/b.txt";
  const std::string away = files_.path() + "/b.off";
  const auto active_after_load = [] {
    DictionaryState state;
    state.LoadDictionaries();
    return std::string(state.active()->GetName());
  };
  const auto activate_and_save = [](int n) {
    DictionaryState state;
    state.LoadDictionaries();
    ASSERT_TRUE(state.SetActive(Nth(state.all_dictionaries(), n)));
    ASSERT_EQ(state.Save(), ListsResult::kOk);
  };
  activate_and_save(1);
  std::filesystem::rename(gone, away);
  {
    DictionaryState state;
    state.LoadDictionaries();
    EXPECT_EQ(state.active(), state.all_dictionaries());
    ASSERT_NE(state.Install(Text("c.txt")), nullptr);
    ASSERT_EQ(state.Save(), ListsResult::kOk);
    EXPECT_EQ(state.SaveActiveIfChanged(), ListsResult::kOk);
  }
  std::filesystem::rename(away, gone);
  EXPECT_EQ(active_after_load(), "b.txt");

  std::filesystem::rename(gone, away);
  activate_and_save(0);
  std::filesystem::rename(away, gone);
  EXPECT_EQ(active_after_load(), "a.txt");

  activate_and_save(1);
  std::filesystem::rename(gone, away);
  {
    DictionaryState state;
    state.LoadDictionaries();
    ASSERT_TRUE(state.Uninstall(Nth(state.all_dictionaries(), 1)));
    ASSERT_EQ(state.Save(), ListsResult::kOk);
  }
  EXPECT_EQ(active_after_load(), "All Dictionaries");
}

// Sets name their members by id; the lists are stored in whatever order
// they stand (the menu sorts them by name), so a set may be stored before
// the set it holds, in either container.
TEST_F(DictionaryStateStoreTest, NestedSetsSurviveAnyStoredOrder) {
  const auto item = [](const char* key, int n) {
    return std::string(key) + "\\Item-" + std::to_string(n);
  };
  const auto store_set = [](const std::string& key, uint32_t id,
                            const char* name, const char* list) {
    WriteRegString(kCurrentUser, key.c_str(), "Type", "Set");
    WriteRegDword(kCurrentUser, key.c_str(), "ID", id);
    WriteRegString(kCurrentUser, key.c_str(), "Name", name);
    WriteRegString(kCurrentUser, key.c_str(), "List", list);
  };
  for (int i = 0; i < 2; ++i) {
    const std::string key = item(kDictionariesKey, i);
    WriteRegString(kCurrentUser, key.c_str(), "Type", "TextFile");
    WriteRegDword(kCurrentUser, key.c_str(), "ID", 2 + i);
    WriteRegString(kCurrentUser, key.c_str(), "FileName",
                   Text(i == 0 ? "two.txt" : "three.txt").c_str());
  }
  // "Mid", stored among the dictionaries, names "Alpha" from the sets.
  store_set(item(kDictionariesKey, 2), 60, "Mid", "51");
  store_set(item(kSetsKey, 0), 50, "Zeta", "2");
  store_set(item(kSetsKey, 1), 51, "Alpha", "50,3");
  const std::string expected =
      "two.txt\nthree.txt\nMid(51)\n--\nZeta(2)\nAlpha(50,3)\n";
  const auto tree = [](const DictionaryState& state) {
    std::string text;
    for (const CDictionarySet* container :
         {state.all_dictionaries(), state.all_sets()}) {
      for (const CDictionary* d : container->members()) {
        text += d->GetName();
        if (const auto* set = dynamic_cast<const CDictionarySet*>(d)) {
          std::string ids;
          for (const CDictionary* m : set->members()) {
            ids += (ids.empty() ? "" : ",") + std::to_string(m->id());
          }
          text += "(" + ids + ")";
        }
        text += "\n";
      }
      if (container == state.all_dictionaries()) text += "--\n";
    }
    return text;
  };
  {
    DictionaryState state;
    state.LoadDictionaries();
    EXPECT_EQ(tree(state), expected);
    // As the Dictionaries menu leaves them: Alpha before Zeta, Mid after
    // the files.
    state.all_dictionaries()->SortByName();
    state.all_sets()->SortByName();
    ASSERT_EQ(state.Save(), ListsResult::kOk);
  }
  DictionaryState state;
  state.LoadDictionaries();
  EXPECT_EQ(tree(state),
            "Mid(51)\nthree.txt\ntwo.txt\n--\nAlpha(50,3)\nZeta(2)\n");
}

// A window stores its active dictionary when it closes only if it was
// changed in that window, and never over a save made elsewhere since.
TEST_F(DictionaryStateStoreTest,
       TheActiveDictionaryIsStoredAtExitOnlyIfChanged) {
  StoreLists({"a.txt", "b.txt"});
  // Read with no other dictionary alive, so that the stored ids resolve.
  const auto stored_active = [] {
    DictionaryState state;
    state.LoadDictionaries();
    return std::string(state.active()->GetName());
  };
  const auto activate_elsewhere = [](int n) {
    return testing::ChangeInAnotherProcess([n](DictionaryState* other) {
      return other->SetActive(Nth(other->all_dictionaries(), n));
    });
  };
  {
    // Unchanged here, changed elsewhere: the other's choice stays.
    DictionaryState window;
    window.LoadDictionaries();
    EXPECT_FALSE(window.active_changed());
    ASSERT_TRUE(activate_elsewhere(1));
    EXPECT_EQ(window.SaveActiveIfChanged(), ListsResult::kOk);
  }
  EXPECT_EQ(stored_active(), "b.txt");
  {
    // Changed here and elsewhere since: refused, the store untouched.
    DictionaryState window;
    window.LoadDictionaries();
    ASSERT_TRUE(window.SetActive(Nth(window.all_dictionaries(), 0)));
    ASSERT_TRUE(activate_elsewhere(1));
    const std::string before = DumpStore();
    EXPECT_EQ(window.SaveActiveIfChanged(), ListsResult::kChanged);
    EXPECT_EQ(DumpStore(), before);
  }
  {
    // Changed here only: stored, and the generation moves on.
    DictionaryState window;
    window.LoadDictionaries();
    const uint32_t generation = window.generation();
    ASSERT_TRUE(window.SetActive(Nth(window.all_dictionaries(), 0)));
    EXPECT_TRUE(window.active_changed());
    EXPECT_EQ(window.SaveActiveIfChanged(), ListsResult::kOk);
    EXPECT_NE(window.generation(), generation);
    EXPECT_FALSE(window.active_changed());
  }
  EXPECT_EQ(stored_active(), "a.txt");
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
