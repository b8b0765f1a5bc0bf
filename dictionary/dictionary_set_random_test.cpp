// Random stored trees of dictionaries and sets (sets in both containers,
// sets of sets, repeated, dangling and colliding ids, files that are gone),
// loaded, searched, cut down by random uninstalls, sorted by name as the
// Dictionaries menu sorts them, saved and loaded again.
// Run under AddressSanitizer, a set left holding a freed member shows at
// once.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <set>
#include <string>

#include "dictionary/dictionary_state.h"
#include "dictionary/testing/scratch_dir.h"
#include "engine/testing/vector_enum.h"
#include "settings/scratch_home.h"
#include "settings/settings_store.h"

namespace vocor {
namespace {

using namespace std::string_literals;
using WordSet = std::set<std::string>;

class RandomTree {
 public:
  RandomTree(unsigned seed, const testing::ScratchDir& files)
      : random_(seed), files_(files) {}

  // Replaces both containers' stored items with a random tree.
  void Store() {
    DeleteRegTree(kCurrentUser, kDictionariesKey);
    DeleteRegTree(kCurrentUser, kSetsKey);
    const int dictionaries = Pick(1, 14), sets = Pick(0, 10);
    for (int i = 0; i < dictionaries; ++i) {
      const std::string key = Item(kDictionariesKey, i);
      if (Pick(0, 3) == 0) {
        StoreSet(key);
      } else {
        WriteRegString(kCurrentUser, key.c_str(), "Type", "TextFile");
        WriteRegDword(kCurrentUser, key.c_str(), "ID", AnId());
        WriteRegString(kCurrentUser, key.c_str(), "FileName", AFile().c_str());
      }
    }
    for (int i = 0; i < sets; ++i) StoreSet(Item(kSetsKey, i));
  }

  int Pick(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random_);
  }

 private:
  static std::string Item(const char* key, int n) {
    return std::string(key) + "\\Item-" + std::to_string(n);
  }

  // Mostly small ids, so that they collide and name each other; now and
  // then one outside the range ids are taken from.
  uint32_t AnId() {
    if (Pick(0, 15) == 0) return Pick(0, 1) ? 0xFFFFFFFFu : 0x7FFFFFFFu;
    return static_cast<uint32_t>(Pick(0, 40));
  }

  std::string AFile() {
    const int n = Pick(0, 7);
    if (n == 7) return files_.path() + "/missing.txt";
    static const char* const kWords[] = {"ab", "ba", "cab", "abc", "b", "ca"};
    std::string words;
    for (int i = 0; i <= n % 3; ++i) words += kWords[(n + 2 * i) % 6] + "\n"s;
    return files_.Write("list" + std::to_string(n) + ".txt", words);
  }

  void StoreSet(const std::string& key) {
    static const char* const kSeparators[] = {",", " ", ";", "-", ",,"};
    std::string list = Pick(0, 5) == 0 ? "-" : "";
    const int members = Pick(0, 5);
    for (int i = 0; i < members; ++i) {
      if (i > 0) list += kSeparators[Pick(0, 4)];
      list += std::to_string(Pick(0, 45));
    }
    WriteRegString(kCurrentUser, key.c_str(), "Type", "Set");
    WriteRegDword(kCurrentUser, key.c_str(), "ID", AnId());
    WriteRegString(kCurrentUser, key.c_str(), "Name",
                   ("set" + std::to_string(Pick(0, 99))).c_str());
    WriteRegString(kCurrentUser, key.c_str(), "List", list.c_str());
  }

  std::mt19937 random_;
  const testing::ScratchDir& files_;
};

// The words a dictionary should yield: a set's are its members' together.
WordSet ExpectedWords(const CDictionary* d) {
  const auto* set = dynamic_cast<const CDictionarySet*>(d);
  if (set == nullptr) {
    auto words = testing::ReadAll(d->CreateEnumerator().get());
    return WordSet(words.begin(), words.end());
  }
  WordSet all;
  for (const CDictionary* member : set->members()) {
    all.merge(ExpectedWords(member));
  }
  return all;
}

// Every member of every set is alive and listed once, and every set
// yields the union of its members' words.
void CheckSets(const DictionaryState& state) {
  for (const CDictionarySet* container :
       {state.all_dictionaries(), state.all_sets()}) {
    for (const CDictionary* d : container->members()) {
      const auto* set = dynamic_cast<const CDictionarySet*>(d);
      if (set == nullptr) continue;
      std::set<const CDictionary*> seen;
      for (const CDictionary* member : set->members()) {
        EXPECT_EQ(CDictionary::FindById(member->id()), member);
        EXPECT_TRUE(seen.insert(member).second);
      }
      const auto words = testing::ReadAll(set->CreateEnumerator().get());
      EXPECT_EQ(WordSet(words.begin(), words.end()), ExpectedWords(set));
    }
  }
  const auto all =
      testing::ReadAll(state.all_dictionaries()->CreateEnumerator().get());
  EXPECT_EQ(WordSet(all.begin(), all.end()),
            ExpectedWords(state.all_dictionaries()));
}

// Both containers as text: kind, id, name and member ids of each member.
std::string Describe(const DictionaryState& state) {
  std::string text;
  for (const CDictionarySet* container :
       {state.all_dictionaries(), state.all_sets()}) {
    for (const CDictionary* d : container->members()) {
      text += std::string(d->GetTypeName()) + " " + std::to_string(d->id()) +
              " " + d->GetName();
      if (const auto* set = dynamic_cast<const CDictionarySet*>(d)) {
        for (const CDictionary* m : set->members()) {
          text += " " + std::to_string(m->id());
        }
      }
      text += "\n";
    }
    text += "--\n";
  }
  return text;
}

void UninstallSome(RandomTree* random, DictionaryState* state) {
  for (int n = random->Pick(0, 4); n > 0; --n) {
    CDictionarySet* container =
        random->Pick(0, 1) ? state->all_dictionaries() : state->all_sets();
    const int count = container->members().GetCount();
    if (count == 0) continue;
    auto it = container->members().items().begin();
    std::advance(it, random->Pick(0, count - 1));
    if (random->Pick(0, 2) == 0) state->SetActive(*it);
    ASSERT_TRUE(state->Uninstall(*it));
  }
}

TEST(DictionarySetRandomTest, StoredTreesSurviveUninstallsAndSaves) {
  ScratchHome home;
  testing::ScratchDir files;
  std::random_device device;
  const unsigned seed = device();
  SCOPED_TRACE("seed " + std::to_string(seed));
  RandomTree random(seed, files);
  for (int round = 0; round < 40 && !::testing::Test::HasFailure(); ++round) {
    random.Store();
    std::string saved;
    {
      DictionaryState state;
      state.LoadDictionaries();
      ASSERT_TRUE(state.loaded());
      CheckSets(state);
      UninstallSome(&random, &state);
      CheckSets(state);
      // A set may now be stored before the sets it names.
      if (random.Pick(0, 1) == 0) {
        state.all_dictionaries()->SortByName();
        state.all_sets()->SortByName();
      }
      ASSERT_EQ(state.Save(), ListsResult::kOk);
      saved = Describe(state);
    }
    DictionaryState reloaded;
    reloaded.LoadDictionaries();
    ASSERT_TRUE(reloaded.loaded());
    CheckSets(reloaded);
    EXPECT_EQ(Describe(reloaded), saved) << "round " << round;
  }
  CloseSettingsStore();
}

}  // namespace
}  // namespace vocor
