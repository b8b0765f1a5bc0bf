// The word endings hold every ending of every word and little else; a
// damaged section is noted and ignored, never trusted; and the checker
// recomputes the set from the tree, so that a set that leaves out an
// ending (which would hide reversal pairs) is refused even when its
// checksum has been made to agree.
#include "dictionary/vocor_word_endings.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "dictionary/testing/sample_dics.h"
#include "dictionary/vocor_file_check.h"
#include "dictionary/vocor_file_dictionary.h"
#include "dictionary/vocor_format.h"
#include "engine/palindrome.h"
#include "engine/testing/reference.h"
#include "engine/testing/vector_enum.h"

namespace vocor {
namespace {

bool MayEnd(const VocorWordEndings& endings, const std::string& ending) {
  return endings.MayEndAWord(
      reinterpret_cast<const unsigned char*>(ending.data()),
      static_cast<int>(ending.size()));
}

std::vector<std::string> ReversalPairs(const std::string& file,
                                       bool* damage_seen) {
  CDictionaryVocorFile dict;
  EXPECT_TRUE(dict.OpenImage(FileImage::FromBytes(file)));
  EnumPtr e = std::make_unique<CEnumResultsPalindrome>(dict.CreateEnumerator(),
                                                       kReverse, kAnotherWord);
  const std::vector<std::string> found = testing::ReadAllInSlices(e.get(), 50);
  *damage_seen = dict.DamageSeen();
  return found;
}

TEST(VocorWordEndingsTest, HoldEveryEndingAndFewOthers) {
  std::mt19937 rng(5);
  const std::vector<std::string> words =
      testing::RandomWords(rng, "abcdefghij", 2000, 9);
  const std::string file = testing::CompileWords(words);
  std::unique_ptr<VocorWordEndings> endings;
  ASSERT_EQ(
      VocorWordEndings::Locate(file.data(), file.size(), &endings, nullptr),
      VocorWordEndings::Status::kPresent);
  std::set<std::string> held;
  for (const std::string& word : words) {
    for (int n = endings->shortest();
         n <= endings->longest() && n <= static_cast<int>(word.size()); ++n) {
      held.insert(word.substr(word.size() - n));
    }
  }
  for (const std::string& ending : held) {
    ASSERT_TRUE(MayEnd(*endings, ending)) << ending;
  }
  int absent = 0, passing = 0;
  for (const std::string& ending :
       testing::RandomWords(rng, "abcdefghij", 4000, 6)) {
    if (!endings->Covers(static_cast<int>(ending.size())) ||
        held.count(ending) != 0) {
      continue;
    }
    ++absent;
    if (MayEnd(*endings, ending)) ++passing;
  }
  EXPECT_GT(absent, 1000);
  EXPECT_LT(passing * 8, absent);
}

// Every byte of the section changed in turn: the pairs found stay the
// same, and the change is noted unless it hides the section altogether.
TEST(VocorWordEndingsTest, DamageIsNotedAndIgnored) {
  std::mt19937 rng(17);
  std::vector<std::string> words =
      testing::RandomWords(rng, "abcdeilnorst", 600, 8);
  for (const std::string& word :
       testing::RandomWords(rng, "abcdeilnorst", 30, 7)) {
    words.push_back(word);
    words.emplace_back(word.rbegin(), word.rend());
  }
  const std::string file = testing::CompileWords(words);
  const size_t start = LoadLE32(file.data() + kVocorEndingsOffsetOffset);
  ASSERT_GT(start, 0u);
  bool damage_seen = true;
  const std::vector<std::string> expected = ReversalPairs(file, &damage_seen);
  ASSERT_FALSE(damage_seen);
  ASSERT_GT(expected.size(), 30u);
  for (size_t at = start; at < file.size(); at += at < start + 40 ? 1 : 29) {
    std::string damaged = file;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x41);
    ASSERT_EQ(ReversalPairs(damaged, &damage_seen), expected) << at;
    const bool marker = at < start + 4;
    EXPECT_EQ(damage_seen, !marker) << at;
    VocorFileFacts facts;
    std::string reason;
    EXPECT_FALSE(CheckVocorFile(damaged, &facts, &reason)) << at;
  }
}

// A cleared bit would pass over the words that end that way; the checker
// finds it under a checksum made to agree, and so would a set bit that no
// ending needs.
TEST(VocorWordEndingsTest, CheckerRecomputesTheSet) {
  std::mt19937 rng(23);
  const std::string file =
      testing::CompileWords(testing::RandomWords(rng, "abcxyz", 300, 7));
  VocorFileFacts facts;
  std::string reason;
  ASSERT_TRUE(CheckVocorFile(file, &facts, &reason)) << reason;
  const uint32_t start = LoadLE32(file.data() + kVocorEndingsOffsetOffset);
  EXPECT_EQ(facts.endings_offset, start);
  const size_t bits = start + kVocorEndingsHeadSize;
  for (unsigned char flip : {0x01, 0x80}) {
    std::string changed = file;
    changed[bits + 3] = static_cast<char>(changed[bits + 3] ^ flip);
    StoreLE32(changed.data() + start + 16,
              SectionChecksum(changed.data() + start, file.size() - start, 16));
    std::unique_ptr<VocorWordEndings> endings;
    ASSERT_EQ(VocorWordEndings::Locate(changed.data(), changed.size(), &endings,
                                       nullptr),
              VocorWordEndings::Status::kPresent);
    EXPECT_FALSE(CheckVocorFile(changed, &facts, &reason));
    EXPECT_EQ(reason, "the word endings do not match the words of the tree");
  }
}

TEST(VocorWordEndingsTest, FilesOfShortWordsHaveNone) {
  const std::string file = testing::CompileWords({"a", "at", "ax"});
  EXPECT_EQ(LoadLE32(file.data() + kVocorEndingsOffsetOffset), 0u);
}

}  // namespace
}  // namespace vocor
