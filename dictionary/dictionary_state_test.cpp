#include "dictionary/dictionary_state.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "dictionary/testing/scratch_dir.h"
#include "dictionary/vocor_file_writer.h"
#include "settings/scratch_home.h"
#include "settings/settings_store.h"

namespace vocor {
namespace {

class DictionaryStateTest : public ::testing::Test {
 protected:
  std::string Dic(const std::string& name) {
    std::string bytes, error;
    VocorFileInfo info;
    info.name = name;
    EXPECT_TRUE(BuildVocorFile({"word"}, info, &bytes, nullptr, &error));
    return files_.Write(name, bytes);
  }

  ScratchHome home_;
  testing::ScratchDir files_;
};

TEST_F(DictionaryStateTest, ContainersAreTheFirstObjectsOfAProcess) {
  ASSERT_TRUE(CloseSettingsStore());
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Ids restart only in a fresh program; simulate it with the counter.
    const int base = CDictionary::NextId();
    DictionaryState state;
    const bool ok = state.all_dictionaries()->id() == base &&
                    state.all_sets()->id() == base + 1 &&
                    state.active() == state.all_dictionaries();
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(DictionaryStateTest, ActiveDictionaryFallsBackToAllDictionaries) {
  DictionaryState state;
  for (uint32_t stored : {0u, 0xFFFFFFFFu, 123456u}) {
    WriteRegDword(kCurrentUser, kSettingsKey, "ActiveDictionary", stored);
    state.LoadDictionaries();
    EXPECT_EQ(state.active(), state.all_dictionaries()) << stored;
  }
}

TEST_F(DictionaryStateTest, InstallActivateUninstallAndReload) {
  int first_id, set_id;
  {
    DictionaryState state;
    state.LoadDictionaries();
    CDictionary* first = state.Install(Dic("first.dic"));
    CDictionary* second = state.Install(files_.Write("list.txt", "a b c"));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(state.Install(files_.Write("empty.dic", "")), nullptr);
    auto set = std::make_unique<CDictionarySet>();
    set->SetName("Both");
    set->members().AddTail(first);
    set->members().AddTail(second);
    set_id = set->id();
    state.all_sets()->AdoptMember(std::move(set));
    first_id = first->id();
    state.SetActive(first);
    ASSERT_TRUE(state.SaveDictionaries());
  }
  DictionaryState state;
  state.LoadDictionaries();
  ASSERT_EQ(state.all_dictionaries()->members().GetCount(), 2);
  EXPECT_EQ(state.active()->id(), first_id);
  auto* set = dynamic_cast<CDictionarySet*>(CDictionary::FindById(set_id));
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(set->GetWordCount(), 4);

  EXPECT_TRUE(state.Uninstall(state.active()));
  EXPECT_EQ(state.active(), state.all_dictionaries());
  EXPECT_EQ(set->members().GetCount(), 1);
  EXPECT_FALSE(state.Uninstall(state.all_sets()));
  EXPECT_TRUE(state.Uninstall(set));
  EXPECT_EQ(state.all_sets()->members().GetCount(), 0);
  ASSERT_TRUE(state.SaveDictionaries());
  DictionaryState again;
  again.LoadDictionaries();
  EXPECT_EQ(again.all_dictionaries()->members().GetCount(), 1);
  EXPECT_EQ(again.all_sets()->members().GetCount(), 0);
}

TEST_F(DictionaryStateTest, DataFolderInstallsWhatOpensAndStoresOnlyThen) {
  const std::string data = files_.path() + "/Data";
  ASSERT_EQ(::mkdir(data.c_str(), 0755), 0);
  ASSERT_EQ(::mkdir((data + "/folder.dic").c_str(), 0755), 0);
  files_.Write("Data/words.txt", "plain text");
  {
    DictionaryState state;
    state.LoadDictionaries();
    EXPECT_EQ(state.InstallDataFolderDictionaries(data), 0);
    EXPECT_EQ(state.InstallDataFolderDictionaries(files_.path() + "/none"), 0);
  }
  std::string type;
  EXPECT_FALSE(ReadRegString(kCurrentUser, kDictionariesKey, "Type", &type));

  files_.Write("Data/empty.dic", "");
  Dic("Data/real.dic");
  DictionaryState state;
  state.LoadDictionaries();
  EXPECT_EQ(state.InstallDataFolderDictionaries(data), 1);
  DictionaryState reloaded;
  reloaded.LoadDictionaries();
  EXPECT_EQ(reloaded.all_dictionaries()->members().GetCount(), 1);
}

}  // namespace
}  // namespace vocor
