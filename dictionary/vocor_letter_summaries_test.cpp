// Letter summaries only ever spare a walk work: over random lists, every
// pattern and minimum finds on the binary file what it finds on the text
// list, with the summaries and without them; the checker recomputes every summary;
// and a damaged section is noted and ignored, never trusted.
#include "dictionary/vocor_letter_summaries.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <random>
#include <set>

#include "dictionary/testing/sample_dics.h"
#include "dictionary/testing/scratch_dir.h"
#include "dictionary/text_file_dictionary.h"
#include "dictionary/vocor_file_check.h"
#include "dictionary/vocor_file_dictionary.h"
#include "dictionary/vocor_word_endings.h"
#include "engine/testing/reference.h"
#include "engine/testing/vector_enum.h"

namespace vocor {
namespace {

using Words = std::set<std::string>;

// Patterns that need letters (so the walk asks the summaries), some with
// stars (so it works out live states too), and some that need none.
constexpr const char* kPatterns[] = {
    "*x*",     "*xz*",   "*{xz}*",   "*q*u*",      "x*",       "*z",
    "?*x?*",   "*[xy]*", "*{xq?}*",  "3-6:*y*z*",  "[^x]*q",   "*xx*",
    "*",       "???",    "*@#*",     "[qz]?*x",    "*x?z*y*",  "-4:*q*",
};

// Minimums the walk also checks against the summaries: letters that must
// appear, a blank among them, a letter twice.
constexpr const char* kMinimums[] = {nullptr, "xz", "q?", "xx", "y"};

Words Find(CDictionary* dict, const char* pattern,
           const char* minimum = nullptr) {
  EnumPtr e = dict->CreateEnumerator();
  e = e->Pattern(std::move(e), pattern);
  if (minimum != nullptr) {
    e = e->Letters(std::move(e), CLetterConstraint(minimum, nullptr));
  }
  const std::vector<std::string> found = testing::ReadAll(e.get());
  return Words(found.begin(), found.end());
}

std::string WithoutSummaries(std::string file) {
  StoreLE32(file.data() + kVocorSummaryOffsetOffset, 0);
  return file;
}

std::unique_ptr<CDictionaryVocorFile> Open(const std::string& file) {
  auto dict = std::make_unique<CDictionaryVocorFile>();
  EXPECT_TRUE(dict->OpenImage(FileImage::FromBytes(file)));
  return dict;
}

std::string Lines(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += word + "\n";
  return text;
}

TEST(VocorLetterSummariesTest, NarrowNoSearchOverRandomLists) {
  testing::ScratchDir dir;
  std::mt19937 rng(20261208);
  for (int round = 0; round < 12; ++round) {
    // Rare letters among common ones, so that many subtrees lack them.
    const std::vector<std::string> words = testing::RandomWords(
        rng, round % 2 == 0 ? "aeiostnxzqy" : "aeaeiouxyz", 50 + rng() % 1500,
        9);
    const std::string file = testing::CompileWords(words);
    VocorFileFacts facts;
    std::string reason;
    ASSERT_TRUE(CheckVocorFile(file, &facts, &reason)) << reason;
    ASSERT_NE(facts.summaries_offset, 0u);

    CDictionaryTextFile text;
    text.SetFileName(dir.Write("list.txt", Lines(words)).c_str());
    ASSERT_TRUE(text.Open());
    auto with = Open(file);
    auto without = Open(WithoutSummaries(file));
    for (const char* pattern : kPatterns) {
      for (const char* minimum : kMinimums) {
        const Words expected = Find(&text, pattern, minimum);
        const std::string query =
            std::string(pattern) + " with " + (minimum ? minimum : "-");
        EXPECT_EQ(Find(with.get(), pattern, minimum), expected) << query;
        EXPECT_EQ(Find(without.get(), pattern, minimum), expected) << query;
      }
    }
    EXPECT_FALSE(with->DamageSeen());
  }
}

// Every byte of the section changed in turn: the words found stay the
// same, and the change is noted unless it hides the section altogether.
TEST(VocorLetterSummariesTest, DamageIsNotedAndIgnored) {
  std::mt19937 rng(7);
  const std::string file = testing::CompileWords(
      testing::RandomWords(rng, "aeiostnxzq", 400, 8));
  const size_t start = LoadLE32(file.data() + kVocorSummaryOffsetOffset);
  ASSERT_GT(start, 0u);
  const char* const probes[] = {"*xz*", "*q?*", "x*"};
  auto sound = Open(file);
  std::vector<Words> expected;
  for (const char* probe : probes) expected.push_back(Find(sound.get(), probe));
  const size_t end = std::min(file.size(), start + 200);
  for (size_t at = start; at < end; ++at) {
    std::string damaged = file;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x24);
    auto dict = Open(damaged);
    for (size_t i = 0; i < std::size(probes); ++i) {
      ASSERT_EQ(Find(dict.get(), probes[i]), expected[i])
          << probes[i] << " at " << at;
    }
    const bool marker = at < start + 4;
    EXPECT_EQ(dict->DamageSeen(), !marker) << at;
    VocorFileFacts facts;
    std::string reason;
    EXPECT_FALSE(CheckVocorFile(damaged, &facts, &reason)) << at;
  }
}

// A summary that leaves out a letter would hide words; the checker finds
// it even when the checksum has been made to agree.
TEST(VocorLetterSummariesTest, CheckerRecomputesEverySummary) {
  std::mt19937 rng(11);
  std::string file = testing::CompileWords(
      testing::RandomWords(rng, "abcxyz", 300, 7));
  const size_t start = LoadLE32(file.data() + kVocorSummaryOffsetOffset);
  std::unique_ptr<VocorLetterSummaries> summaries;
  ASSERT_EQ(VocorLetterSummaries::Locate(file.data(), file.size(), &summaries,
                                         nullptr),
            VocorLetterSummaries::Status::kPresent);
  // The root's summary: the first one, as the root is the first node.
  // The word endings follow the summaries.
  const size_t length =
      LoadLE32(file.data() + kVocorEndingsOffsetOffset) - start;
  const size_t first_summary = length - 4 * summaries->count();
  char* root = file.data() + start + first_summary;
  StoreLE32(root, LoadLE32(root) & ~LetterSummaryBit('x'));
  const auto* head = reinterpret_cast<const Bytef*>(file.data() + start);
  uLong crc = crc32(crc32(0, Z_NULL, 0), head, 20);
  crc = crc32(crc, head + kVocorSummaryHeadSize,
              static_cast<uInt>(length - kVocorSummaryHeadSize));
  StoreLE32(file.data() + start + 20, static_cast<uint32_t>(crc));
  VocorFileFacts facts;
  std::string reason;
  EXPECT_FALSE(CheckVocorFile(file, &facts, &reason));
  EXPECT_EQ(reason, "the letter summary of the node at offset 288 does not "
                    "match the letters below it");
}

TEST(VocorLetterSummariesTest, SmallFilesKeepTheirLayout) {
  const std::string file = testing::CompileWords({"a", "at", "ax"});
  EXPECT_EQ(LoadLE32(file.data() + kVocorSummaryOffsetOffset), 0u);
}

}  // namespace
}  // namespace vocor
