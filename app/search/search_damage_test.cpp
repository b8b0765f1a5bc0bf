// Which damaged files a search reports, through the sets it searches, and
// the warning that names them.
#include "app/search/search_damage.h"

#include <gtest/gtest.h>

#include <memory>

#include "dictionary/dictionary_set.h"
#include "dictionary/testing/damaged_dic.h"
#include "dictionary/testing/sample_dics.h"
#include "dictionary/testing/scratch_dir.h"
#include "dictionary/vocor_file_dictionary.h"

namespace vocor {
namespace {

using Paths = std::vector<std::string>;

class SearchDamageTest : public ::testing::Test {
 protected:
  // Opens `image`, written to a file `name`; lives as long as the test.
  CDictionaryVocorFile* Open(const std::string& name,
                             const std::string& image) {
    auto dictionary = std::make_unique<CDictionaryVocorFile>();
    EXPECT_TRUE(dictionary->SetFileName(dir_.Write(name, image).c_str()));
    EXPECT_TRUE(dictionary->Open());
    dictionaries_.push_back(std::move(dictionary));
    return dictionaries_.back().get();
  }
  CDictionaryVocorFile* Damaged(const std::string& name) {
    return Open(name, testing::RootCountOneTooHigh());
  }
  CDictionaryVocorFile* Sound(const std::string& name) {
    return Open(name, testing::CompileWords({"cat", "dog"}));
  }
  std::string PathOf(const std::string& name) {
    return dir_.path() + "/" + name;
  }

  static void Walk(const CDictionary* dictionary) {
    EnumPtr words = dictionary->CreateEnumerator();
    while (words->Next(nullptr) != nullptr) {
    }
  }

  static std::unique_ptr<CDictionarySet> SetOf(
      std::initializer_list<CDictionary*> members) {
    auto set = std::make_unique<CDictionarySet>();
    for (CDictionary* member : members) set->members().AddTail(member);
    return set;
  }

  testing::ScratchDir dir_;
  std::vector<std::unique_ptr<CDictionaryVocorFile>> dictionaries_;
};

TEST_F(SearchDamageTest, OnlyFilesWhoseWalksMetDamageAreReported) {
  CDictionaryVocorFile* damaged = Damaged("damaged.dic");
  CDictionaryVocorFile* sound = Sound("sound.dic");
  // Opening checks only the header: the damage is found by a walk.
  EXPECT_EQ(DamagedDictionaryFiles(damaged), Paths{});
  Walk(sound);
  Walk(damaged);
  EXPECT_EQ(DamagedDictionaryFiles(damaged), Paths{PathOf("damaged.dic")});
  EXPECT_EQ(DamagedDictionaryFiles(sound), Paths{});
  EXPECT_EQ(DamagedDictionaryFiles(nullptr), Paths{});
  // The damage stays known to the file for later searches.
  EXPECT_EQ(DamagedDictionaryFiles(damaged->Clone().get()),
            Paths{PathOf("damaged.dic")});
}

TEST_F(SearchDamageTest, SetsReportEveryDamagedMemberOnceInMemberOrder) {
  CDictionaryVocorFile* sound = Sound("sound.dic");
  CDictionaryVocorFile* second = Damaged("second.dic");
  CDictionaryVocorFile* first = Damaged("first.dic");
  CDictionaryVocorFile* unwalked = Damaged("unwalked.dic");
  std::unique_ptr<CDictionarySet> inner = SetOf({second, first});
  std::unique_ptr<CDictionarySet> outer =
      SetOf({sound, inner.get(), first, unwalked});
  // The set's own walk reaches both damaged members through its union.
  Walk(inner.get());
  EXPECT_EQ(DamagedDictionaryFiles(outer.get()),
            (Paths{PathOf("second.dic"), PathOf("first.dic")}));
  EXPECT_EQ(DamagedDictionaryFiles(SetOf({}).get()), Paths{});
}

TEST(SearchDamageMessageTest, NamesEachFileInQuotes) {
  EXPECT_EQ(DamagedDictionariesMessage({"/data/a.dic"}),
            "The dictionary file \"/data/a.dic\" is damaged.  The words found "
            "may be incomplete.");
  EXPECT_EQ(DamagedDictionariesMessage({"/a.dic", "/b c.dic"}),
            "The dictionary files \"/a.dic\", \"/b c.dic\" are damaged.  The "
            "words found may be incomplete.");
}

}  // namespace
}  // namespace vocor
