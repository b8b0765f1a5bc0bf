#include "dictionary/dictionary_set.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <optional>
#include <random>

#include "dictionary/testing/member_names.h"
#include "dictionary/testing/scratch_dir.h"
#include "dictionary/text_file_dictionary.h"
#include "dictionary/vocor_file_dictionary.h"
#include "dictionary/vocor_file_writer.h"
#include "engine/testing/vector_enum.h"
#include "settings/scratch_home.h"
#include "settings/settings_store.h"

namespace vocor {
namespace {

using testing::ReadAll;
using Words = std::vector<std::string>;

constexpr char kDictionariesKey[] =
    "Software\\Vocor\\Vocor for Windows\\Dictionaries";
constexpr char kSetsKey[] =
    "Software\\Vocor\\Vocor for Windows\\DictionarySets";

class DictionarySetTest : public ::testing::Test {
 protected:
  std::unique_ptr<CDictionary> TextDictionary(const std::string& name,
                                              const std::string& words) {
    auto dict = std::make_unique<CDictionaryTextFile>();
    dict->SetFileName(files_.Write(name, words).c_str());
    EXPECT_TRUE(dict->Open());
    return dict;
  }

  std::string BinaryFile(const std::string& name, const Words& words) {
    std::string bytes, error;
    VocorFileInfo info;
    info.name = name;
    EXPECT_TRUE(BuildVocorFile(words, info, &bytes, nullptr, &error)) << error;
    return files_.Write(name, bytes);
  }

  static Words NamesOf(const CDictionarySet& set) {
    return testing::MemberNames(set);
  }

  ScratchHome home_;
  testing::ScratchDir files_;
};

TEST_F(DictionarySetTest, MembersSearchAsOneAndSumTheirFigures) {
  CDictionarySet empty;
  EXPECT_TRUE(empty.IsOpen());
  EXPECT_EQ(empty.GetWordCount(), 0);
  EXPECT_EQ(empty.GetSize(), 0);
  EXPECT_TRUE(IsNone(empty.CreateEnumerator().get()));

  auto a = TextDictionary("a.txt", "one two\n");
  auto b = TextDictionary("b.txt", "three\n");
  CDictionarySet set;
  set.SetName("Pair");
  set.members().AddTail(a.get());
  EnumPtr single = set.CreateEnumerator();
  EXPECT_EQ(single->Describe(0), "DictionaryTextFile(\"a.txt\")\n");
  set.members().AddTail(b.get());
  EXPECT_EQ(set.GetWordCount(), 3);
  EnumPtr both = set.CreateEnumerator();
  EXPECT_EQ(ReadAll(both.get()), (Words{"one", "two", "three"}));

  auto clone = set.Clone();
  EXPECT_NE(clone->id(), set.id());
  EXPECT_STREQ(clone->GetName(), "Pair");
  EXPECT_EQ(static_cast<CDictionarySet*>(clone.get())->members().GetCount(), 2);
  clone.reset();
  EXPECT_TRUE(a->IsOpen());  // a set never owned its members
}

TEST_F(DictionarySetTest, SortByNameAndListOperations) {
  auto b = TextDictionary("b.txt", "x");
  auto a = TextDictionary("a.txt", "x");
  auto c = TextDictionary("\xe9.txt", "x");
  CDictionarySet set;
  for (CDictionary* d : {c.get(), b.get(), a.get()}) set.members().AddTail(d);
  set.SortByName();
  EXPECT_EQ(NamesOf(set), (Words{"a.txt", "b.txt", "\xe9.txt"}));
  DictionaryList other;
  other.AddTail(b.get());
  other.AddTail(c.get());
  EXPECT_TRUE(set.members().RemoveList(other));
  EXPECT_FALSE(set.members().RemoveList(other));
  set.members().AddHeadList(other);
  EXPECT_EQ(NamesOf(set), (Words{"b.txt", "\xe9.txt", "a.txt"}));
}

TEST_F(DictionarySetTest, StoredIdsMoveTheCounterAndNeverCollide) {
  WriteRegString(kCurrentUser, "T\\A", "Type", "TextFile");
  WriteRegDword(kCurrentUser, "T\\A", "ID", 41);
  WriteRegString(kCurrentUser, "T\\A", "FileName",
                 files_.Write("w.txt", "w").c_str());
  auto first = CreateDictionaryFromRegistry(kCurrentUser, "T\\A");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->id(), 41);
  EXPECT_EQ(CDictionary::FindById(first->id()), first.get());
  EXPECT_GE(CDictionary::NextId(), 42);
  // A second object stored with the same id keeps its own fresh id.
  auto second = CreateDictionaryFromRegistry(kCurrentUser, "T\\A");
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second->id(), first->id());
  const int first_id = first->id();
  second.reset();
  EXPECT_EQ(CDictionary::FindById(first_id), first.get());
  // Ids outside 0 to INT_MAX - 1 would wrap the counter: the dictionary is
  // kept under a fresh id instead.
  for (uint32_t outside : {0xFFFFFFFFu, 0x7FFFFFFFu}) {
    WriteRegDword(kCurrentUser, "T\\A", "ID", outside);
    auto kept = CreateDictionaryFromRegistry(kCurrentUser, "T\\A");
    ASSERT_NE(kept, nullptr) << outside;
    EXPECT_TRUE(CDictionary::IsValidId(kept->id()));
    EXPECT_NE(kept->id(), first_id);
  }
  // Type names are exact.
  WriteRegDword(kCurrentUser, "T\\A", "ID", 7000);
  WriteRegString(kCurrentUser, "T\\A", "Type", "textfile");
  EXPECT_EQ(CreateDictionaryFromRegistry(kCurrentUser, "T\\A"), nullptr);
}

TEST_F(DictionarySetTest, ListDropsUnknownRepeatedAndLoopingMembers) {
  auto five = TextDictionary("5.txt", "x");
  auto seven = TextDictionary("7.txt", "y");
  const std::string list =
      std::to_string(five->id()) + "," + std::to_string(seven->id()) + "," +
      std::to_string(five->id()) + ",99999," + "99999999999999999999";
  WriteRegString(kCurrentUser, "S", "Type", "Set");
  WriteRegDword(kCurrentUser, "S", "ID", 50000);
  WriteRegString(kCurrentUser, "S", "Name", "Mine");
  WriteRegString(kCurrentUser, "S", "List", list.c_str());
  auto set = CreateDictionaryFromRegistry(kCurrentUser, "S");
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(NamesOf(*static_cast<CDictionarySet*>(set.get())),
            (Words{"5.txt", "7.txt"}));

  // A set naming itself, a container, or a set that leads back to it.
  CDictionarySet container;
  container.MarkAsContainer();
  CDictionarySet outer;
  outer.SetName("outer");
  WriteRegString(kCurrentUser, "L", "Type", "Set");
  WriteRegDword(kCurrentUser, "L", "ID", static_cast<uint32_t>(outer.id()));
  WriteRegString(kCurrentUser, "L", "Name", "outer");
  CDictionarySet inner;
  inner.members().AddTail(&outer);
  const std::string loops =
      std::to_string(outer.id()) + " " + std::to_string(container.id()) + ";" +
      std::to_string(inner.id()) + "," + std::to_string(seven->id());
  WriteRegString(kCurrentUser, "L", "List", loops.c_str());
  ASSERT_TRUE(outer.LoadFromRegistry(kCurrentUser, "L"));
  EXPECT_EQ(NamesOf(outer), (Words{"7.txt"}));
  EXPECT_EQ(outer.GetWordCount(), 1);  // and no endless recursion
}

TEST_F(DictionarySetTest, OnlyTheFirstNumberOfAListIsSigned) {
  auto three = TextDictionary("3.txt", "x");
  auto four = TextDictionary("4.txt", "y");
  const std::string a = std::to_string(four->id()),
                    b = std::to_string(three->id());
  WriteRegString(kCurrentUser, "S", "Type", "Set");
  WriteRegDword(kCurrentUser, "S", "ID", 60000);
  WriteRegString(kCurrentUser, "S", "Name", "Signs");
  CDictionarySet set;
  // "4-3,4,99": the '-' after a number separates.
  WriteRegString(kCurrentUser, "S", "List",
                 (a + "-" + b + "," + a + ",99999").c_str());
  ASSERT_TRUE(set.LoadFromRegistry(kCurrentUser, "S"));
  EXPECT_EQ(NamesOf(set), (Words{"4.txt", "3.txt"}));
  // A leading sign belongs to the first number, as atoi reads it.
  WriteRegString(kCurrentUser, "S", "List", (" -" + a + "--" + b).c_str());
  ASSERT_TRUE(set.LoadFromRegistry(kCurrentUser, "S"));
  EXPECT_EQ(NamesOf(set), (Words{"3.txt"}));
  WriteRegString(kCurrentUser, "S", "List", ("+" + a + "+" + b).c_str());
  ASSERT_TRUE(set.LoadFromRegistry(kCurrentUser, "S"));
  EXPECT_EQ(NamesOf(set), (Words{"4.txt", "3.txt"}));
}

TEST_F(DictionarySetTest, ADestroyedDictionaryLeavesEverySetThatHoldsIt) {
  auto kept = TextDictionary("kept.txt", "k");
  auto gone = TextDictionary("gone.txt", "g");
  CDictionarySet plain;
  plain.members().AddTail(gone.get());
  plain.members().AddTail(kept.get());
  plain.members().AddTail(gone.get());
  CDictionarySet container;
  container.MarkAsContainer();
  auto inner = std::make_unique<CDictionarySet>();
  inner->members().AddTail(gone.get());
  CDictionarySet* inner_set = inner.get();
  container.AdoptMember(std::move(inner));
  CDictionarySet outer;
  outer.members().AddTail(inner_set);
  outer.members().AddTail(gone.get());
  CDictionarySet shallow(plain, false), deep(outer, true);

  gone.reset();
  EXPECT_EQ(NamesOf(plain), (Words{"kept.txt"}));
  EXPECT_EQ(NamesOf(shallow), (Words{"kept.txt"}));
  EXPECT_TRUE(inner_set->members().IsEmpty());
  EXPECT_EQ(outer.members().GetCount(), 1);
  // The deep copy owns a clone of `gone`, which lives on; its clone of the
  // inner set held the original.
  ASSERT_EQ(deep.members().GetCount(), 2);
  EXPECT_TRUE(static_cast<CDictionarySet*>(deep.members().items().front())
                  ->members()
                  .IsEmpty());
  EXPECT_EQ(ReadAll(plain.CreateEnumerator().get()), (Words{"k"}));
  ASSERT_TRUE(plain.SaveToRegistry(kCurrentUser, "P"));
  std::string list;
  ASSERT_TRUE(ReadRegString(kCurrentUser, "P", "List", &list));
  EXPECT_EQ(list, std::to_string(kept->id()));

  // A set destroyed before its members is forgotten too.
  {
    CDictionarySet brief;
    brief.members().AddTail(kept.get());
  }
  kept.reset();
  EXPECT_TRUE(plain.members().IsEmpty());
}

// Runs `body` in a child process, so that what it does to the process-wide
// id counter stays there; returns whether the child exited with 0.
template <typename Body>
bool InChild(Body body) {
  if (!CloseSettingsStore()) return false;
  const pid_t child = ::fork();
  if (child == 0) {
    const bool ok = body();
    CloseSettingsStore();
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(DictionarySetTest, IdsNeverWrapWhenTheCounterIsSpent) {
  const std::string words = files_.Write("w.txt", "w");
  EXPECT_TRUE(InChild([&] {
    WriteRegString(kCurrentUser, "T\\A", "Type", "TextFile");
    WriteRegDword(kCurrentUser, "T\\A", "ID", 2147483646u);
    WriteRegString(kCurrentUser, "T\\A", "FileName", words.c_str());
    auto stored = CreateDictionaryFromRegistry(kCurrentUser, "T\\A");
    if (stored == nullptr || stored->id() != 2147483646) return false;
    if (CDictionary::NextId() != INT_MAX) return false;
    auto first = std::make_unique<CDictionarySet>();
    auto second = std::make_unique<CDictionarySet>();
    const int freed = first->id();
    bool ok = CDictionary::IsValidId(freed) &&
              CDictionary::IsValidId(second->id()) && freed != second->id() &&
              CDictionary::NextId() == INT_MAX;
    // Each takes the lowest id not in use.
    first.reset();
    CDictionarySet reused;
    return ok && reused.id() == freed;
  }));
}

TEST_F(DictionarySetTest, OpenDictionaryFileTriesBinaryThenText) {
  const std::string dic = BinaryFile("real.dic", {"cat", "dog"});
  auto binary = OpenDictionaryFile(dic.c_str());
  ASSERT_NE(binary, nullptr);
  EXPECT_STREQ(binary->GetTypeName(), "VocorFile");

  auto text =
      OpenDictionaryFile(files_.Write("list.dic", "cat\ndog\n").c_str());
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text->GetTypeName(), "TextFile");
  EXPECT_EQ(OpenDictionaryFile(files_.Write("empty.dic", "").c_str()), nullptr);

  std::string damaged(dic.size(), '\0');
  {
    std::ifstream in(dic, std::ios::binary);
    in.read(damaged.data(), static_cast<std::streamsize>(damaged.size()));
  }
  damaged.resize(200);  // the magic is intact, the header is not
  EXPECT_EQ(OpenDictionaryFile(files_.Write("cut.dic", damaged).c_str()),
            nullptr);
}

// A member whose description cannot be saved.
class Unsaveable final : public CDictionaryTextFile {
 public:
  bool SaveToRegistry(int, const char*) const override { return false; }
};

TEST_F(DictionarySetTest, FailedMembersLeaveNoGapInTheNumbering) {
  CDictionarySet container;
  container.SetName("All Dictionaries");
  container.AdoptMember(TextDictionary("first.txt", "a"));
  container.AdoptMember(std::make_unique<Unsaveable>());
  container.AdoptMember(TextDictionary("third.txt", "c"));
  EXPECT_EQ(container.SaveMembersToRegistry(kCurrentUser, kDictionariesKey), 2);
  auto key = OpenSettingsKey(kCurrentUser, kDictionariesKey);
  std::string name;
  Words subkeys;
  for (int i = 0; key->SubkeyName(i, &name); ++i) subkeys.push_back(name);
  EXPECT_EQ(subkeys, (Words{"Item-0", "Item-1"}));
  std::string path;
  ReadRegString(kCurrentUser,
                (std::string(kDictionariesKey) + "\\Item-1").c_str(),
                "FileName", &path);
  EXPECT_EQ(path, files_.path() + "/third.txt");
}

TEST_F(DictionarySetTest, ContainersRoundTripThroughAFreshStore) {
  std::vector<int> ids;
  Words paths;
  {
    CDictionarySet dictionaries, sets;
    dictionaries.SetName("All Dictionaries");
    sets.SetName("All Sets");
    dictionaries.AdoptMember(TextDictionary("t.txt", "alpha beta"));
    auto binary = std::make_unique<CDictionaryVocorFile>();
    binary->SetFileName(BinaryFile("b.dic", {"gamma"}).c_str());
    ASSERT_TRUE(binary->Open());
    dictionaries.AdoptMember(std::move(binary));
    auto s1 = std::make_unique<CDictionarySet>();
    s1->SetName("Both");
    for (CDictionary* d : dictionaries.members()) s1->members().AddTail(d);
    auto s2 = std::make_unique<CDictionarySet>();
    s2->SetName("Binary only");
    s2->members().AddTail(dictionaries.members().items().back());
    sets.AdoptMember(std::move(s1));
    sets.AdoptMember(std::move(s2));
    for (auto* c : {&dictionaries, &sets}) {
      for (CDictionary* d : c->members()) ids.push_back(d->id());
    }
    SettingsTransaction transaction;
    EXPECT_EQ(
        dictionaries.SaveMembersToRegistry(kCurrentUser, kDictionariesKey), 2);
    EXPECT_EQ(sets.SaveMembersToRegistry(kCurrentUser, kSetsKey), 2);
    ASSERT_TRUE(transaction.Commit());
    sets.DeleteAll();
  }
  CDictionarySet dictionaries, sets;
  EXPECT_EQ(
      dictionaries.LoadMembersFromRegistry(kCurrentUser, kDictionariesKey), 2);
  EXPECT_EQ(sets.LoadMembersFromRegistry(kCurrentUser, kSetsKey), 2);
  EXPECT_STREQ(dictionaries.GetName(), "All Dictionaries");
  EXPECT_STREQ(sets.GetName(), "All Sets");
  std::vector<int> loaded;
  for (auto* c : {&dictionaries, &sets}) {
    for (CDictionary* d : c->members()) loaded.push_back(d->id());
  }
  EXPECT_EQ(loaded, ids);
  EXPECT_EQ(NamesOf(dictionaries), (Words{"t.txt", "b.dic"}));
  EXPECT_EQ(NamesOf(sets), (Words{"Both", "Binary only"}));
  auto* both = static_cast<CDictionarySet*>(sets.members().items().front());
  EXPECT_EQ(NamesOf(*both), (Words{"t.txt", "b.dic"}));
  EnumPtr all = both->CreateEnumerator();
  EXPECT_EQ(ReadAll(all.get()), (Words{"alpha", "beta", "gamma"}));
  sets.DeleteAll();
}

TEST_F(DictionarySetTest, AVanishedFileStaysStoredUntilUninstalled) {
  const std::string doomed = files_.Write("doomed.txt", "x");
  {
    CDictionarySet dictionaries;
    dictionaries.AdoptMember(TextDictionary("kept.txt", "k"));
    dictionaries.AdoptMember(TextDictionary("doomed.txt", "x"));
    EXPECT_EQ(
        dictionaries.SaveMembersToRegistry(kCurrentUser, kDictionariesKey), 2);
  }
  ::unlink(doomed.c_str());
  CDictionarySet dictionaries;
  std::vector<std::string> unopened;
  EXPECT_EQ(dictionaries.LoadMembersFromRegistry(kCurrentUser, kDictionariesKey,
                                                 &unopened),
            2);
  EXPECT_EQ(unopened, (Words{doomed}));
  EXPECT_EQ(NamesOf(dictionaries), (Words{"kept.txt", "doomed.txt"}));
  CDictionary* gone = dictionaries.members().items().back();
  EXPECT_TRUE(IsUnavailable(*gone));
  EXPECT_EQ(DictionaryFileName(*gone), doomed);
  EXPECT_EQ(dictionaries.SaveMembersToRegistry(kCurrentUser, kDictionariesKey),
            2);
  std::string path;
  EXPECT_TRUE(ReadRegString(
      kCurrentUser, (std::string(kDictionariesKey) + "\\Item-1").c_str(),
      "FileName", &path));
  EXPECT_EQ(path, doomed);
  dictionaries.ReleaseMember(gone);
  EXPECT_EQ(dictionaries.SaveMembersToRegistry(kCurrentUser, kDictionariesKey),
            1);
}

std::unique_ptr<CDictionarySet> ContainerOf(const Words& paths) {
  auto container = std::make_unique<CDictionarySet>();
  for (const auto& path : paths) {
    auto d = std::make_unique<CDictionaryTextFile>();
    d->SetFileName(path.c_str());
    d->Open();
    container->AdoptMember(std::move(d));
  }
  return container;
}

// Saves list A or list B (by turns) for ever; the parent kills it. With
// `both`, each round saves both containers in one transaction. A pause
// between rounds lets a competing process get the write lock: SQLite's
// waiting is not fair, and a loaded machine could otherwise starve it.
[[noreturn]] void SaveForever(const Words& a, const Words& b, bool both,
                              int pause_us = 0) {
  for (int round = 0;; ++round) {
    auto container = ContainerOf(round % 2 ? b : a);
    std::optional<SettingsTransaction> transaction;
    if (both) transaction.emplace();
    container->SaveMembersToRegistry(kCurrentUser, kDictionariesKey);
    if (both) container->SaveMembersToRegistry(kCurrentUser, kSetsKey);
    if (transaction) transaction->Commit();
    if (pause_us > 0) ::usleep(pause_us);
  }
}

Words StoredPaths(const char* key) {
  Words paths;
  for (int i = 0;; ++i) {
    std::string path;
    const std::string item = std::string(key) + "\\Item-" + std::to_string(i);
    if (!ReadRegString(kCurrentUser, item.c_str(), "FileName", &path)) break;
    paths.push_back(path);
  }
  return paths;
}

TEST_F(DictionarySetTest, AKilledSaveLeavesTheOldOrTheNewLists) {
  Words a, b;
  for (int i = 0; i < 3; ++i)
    a.push_back(files_.Write("a" + std::to_string(i), "w"));
  for (int i = 0; i < 5; ++i)
    b.push_back(files_.Write("b" + std::to_string(i), "w"));
  std::mt19937 rng(99);
  for (int round = 0; round < 16; ++round) {
    const bool both = round % 2 == 1;
    {
      SettingsTransaction transaction;
      ContainerOf(a)->SaveMembersToRegistry(kCurrentUser, kDictionariesKey);
      ContainerOf(a)->SaveMembersToRegistry(kCurrentUser, kSetsKey);
      ASSERT_TRUE(transaction.Commit());
    }
    ASSERT_TRUE(CloseSettingsStore());
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) SaveForever(a, b, both);
    ::usleep(5000 + rng() % 60000);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const Words dictionaries = StoredPaths(kDictionariesKey);
    EXPECT_TRUE(dictionaries == a || dictionaries == b) << dictionaries.size();
    if (both) {
      EXPECT_EQ(StoredPaths(kSetsKey), dictionaries);
    }
  }
}

TEST_F(DictionarySetTest, TwoProcessesSavingAtOnce) {
  Words a = {files_.Write("x", "w")},
        b = {files_.Write("y", "w"), files_.Write("z", "w")};
  ASSERT_TRUE(CloseSettingsStore());
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) SaveForever(b, a, true, 2000);
  for (int i = 0; i < 30; ++i) {
    CDictionarySet container;
    for (const auto& path : i % 2 ? a : b) {
      auto d = std::make_unique<CDictionaryTextFile>();
      d->SetFileName(path.c_str());
      ASSERT_TRUE(d->Open());
      container.AdoptMember(std::move(d));
    }
    SettingsTransaction transaction;
    EXPECT_EQ(container.SaveMembersToRegistry(kCurrentUser, kDictionariesKey),
              container.members().GetCount());
    EXPECT_EQ(container.SaveMembersToRegistry(kCurrentUser, kSetsKey),
              container.members().GetCount());
    EXPECT_TRUE(transaction.Commit());
    // Read in one transaction too: the other process may save in between.
    SettingsTransaction snapshot;
    const Words stored = StoredPaths(kDictionariesKey);
    snapshot.Commit();
    EXPECT_TRUE(stored == a || stored == b);
  }
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
}

}  // namespace
}  // namespace vocor
