// The binary reader's walk for the palindrome filter yields what the
// filter yields testing every word of the plain walk: the same words in
// the same order with the same scores and progress, on random lists rich in
// palindromes and reversal pairs, under floors, read in slices, and on
// damaged files, where both must stop at the same word and note the damage.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "dictionary/testing/sample_dics.h"
#include "dictionary/vocor_file_dictionary.h"
#include "engine/palindrome.h"
#include "engine/testing/reference.h"
#include "engine/testing/vector_enum.h"

namespace vocor {
namespace {

using ScoredWords = std::vector<std::pair<std::string, int>>;
using Words = std::vector<std::string>;

// Hides the reader's own walk for survivors, so that the filter above it
// tests every word.
class CEnumResultsOpaque final : public CEnumResultsParent1 {
 public:
  explicit CEnumResultsOpaque(EnumPtr child)
      : CEnumResultsParent1(std::move(child)) {}
  EnumPtr Clone() const override {
    return std::make_unique<CEnumResultsOpaque>(child()->Clone());
  }
  std::string Describe(int indent) const override {
    return CEnumResultsParent1::Describe(indent);
  }
  bool Contains(const char* word) const override {
    return child()->Contains(word);
  }
  const char* Next(int* counter) override { return child()->Next(counter); }
};

// Letters with and without images in every mode, m and w among them.
const std::string kLetters = "abhimnostwxz";

// A word `word` turns into in `mode`, when it has one.
std::string ImageOf(int mode, const std::string& word) {
  std::string image;
  return testing::RefTransform(mode, word, &image) ? image : "";
}

// Random words, and words made to survive: palindromes of every mode
// (some longer than the lengths a node keeps apart), reversal pairs, and
// their prefixes.
Words RandomList(std::mt19937& rng) {
  Words words = testing::RandomWords(rng, kLetters, 1 + rng() % 40, 6);
  const int made = rng() % 12;
  for (int i = 0; i < made; ++i) {
    const int mode = rng() % 4;
    const int length = rng() % 8 == 0 ? 16 + rng() % 24 : 1 + rng() % 5;
    std::string half = testing::RandomWords(rng, kLetters, 1, length)[0];
    const std::string image = ImageOf(mode, half);
    if (image.empty()) continue;
    words.push_back(half);
    if (rng() % 2 == 0) words.push_back(image);
    const std::string whole =
        half + (rng() % 2 == 0 ? "" : std::string(1, half.back())) + image;
    words.push_back(whole);
    words.push_back(whole.substr(0, 1 + rng() % whole.size()));
  }
  return words;
}

// Each word with its score, read in slices of `slice` units, and the
// position at the end.
ScoredWords ReadWithEnd(CEnumResults* e, int slice, int* end_position) {
  ScoredWords found = testing::ReadScoredInSlices(e, slice);
  *end_position = e->GetPosition();
  return found;
}

EnumPtr Filter(const CDictionaryVocorFile& dict, int mode, int form, int floor,
               bool opaque) {
  EnumPtr source = dict.CreateEnumerator();
  if (opaque) source = std::make_unique<CEnumResultsOpaque>(std::move(source));
  EnumPtr query =
      std::make_unique<CEnumResultsPalindrome>(std::move(source), mode, form);
  return query->MinScore(std::move(query), floor);
}

// The file without its word endings: the header field that finds them
// cleared.
std::string WithoutEndings(std::string image) {
  StoreLE32(image.data() + kVocorEndingsOffsetOffset, 0);
  return image;
}

// Whether `part` is `whole` with some words left out.
bool IsSubsequence(const Words& part, const Words& whole) {
  auto at = whole.begin();
  for (const std::string& word : part) {
    at = std::find(at, whole.end(), word);
    if (at == whole.end()) return false;
    ++at;
  }
  return true;
}

TEST(VocorSurvivorsTest, SameResultsAsTheFilterOnRandomLists) {
  std::mt19937 rng(4242);
  for (int round = 0; round < 300; ++round) {
    const Words words = RandomList(rng);
    std::vector<uint8_t> scores;
    if (rng() % 2 == 0) {
      for (size_t i = 0; i < words.size(); ++i) {
        scores.push_back(static_cast<uint8_t>(1 + rng() % 100));
      }
    }
    CDictionaryVocorFile dict;
    ASSERT_TRUE(dict.OpenImage(
        FileImage::FromBytes(testing::CompileScoredWords(words, scores))));
    Words stored = words;
    std::sort(stored.begin(), stored.end());
    stored.erase(std::unique(stored.begin(), stored.end()), stored.end());
    for (int mode = 0; mode <= 4; ++mode) {
      for (int form : {kSameWord, kAnotherWord}) {
        ASSERT_EQ(
            dict.CreateEnumerator()->TransformSurvivors(mode, form) != nullptr,
            mode <= kRotate);
        const int floor = rng() % 3 == 0 ? 1 + rng() % 100 : kMinScore;
        const int slice = 1 + rng() % 5;
        EnumPtr fast = Filter(dict, mode, form, floor, false);
        EnumPtr slow = Filter(dict, mode, form, floor, true);
        int fast_end = 0, slow_end = 0;
        const ScoredWords expected = ReadWithEnd(slow.get(), slice, &slow_end);
        const ScoredWords found = ReadWithEnd(fast.get(), slice, &fast_end);
        const std::string what = "mode " + std::to_string(mode) + " form " +
                                 std::to_string(form) + " floor " +
                                 std::to_string(floor);
        ASSERT_EQ(found, expected) << what;
        ASSERT_EQ(fast_end, slow_end) << what;
        fast->Reset();
        ASSERT_EQ(testing::ReadScoredInSlices(fast.get(), 1000), found);

        // And what the filter yields is what it must yield.
        if (floor > kMinScore) continue;
        testing::RefQuery query;
        query.kind = testing::RefQuery::kPalindrome;
        query.number = mode;
        query.number2 = form;
        Words plain;
        for (const auto& [word, score] : found) plain.push_back(word);
        ASSERT_EQ(plain, testing::Evaluate(query, stored)) << what;
      }
    }
  }
}

// The words and the units of work of a whole walk.
Words ReadCountingWork(CEnumResults* e, int64_t* work) {
  Words found;
  *work = 0;
  for (;;) {
    int counter = 1000;
    const char* word = e->Next(&counter);
    *work += 1000 - counter;
    if (word != nullptr) {
      found.emplace_back(word);
    } else if (counter > 0) {
      return found;
    }
  }
}

// The word endings are what spare a reversal walk most of the tree: with
// them it finds the same words for a fraction of the work, and the other
// reversing walks for no more work than without them.
TEST(VocorSurvivorsTest, TheEndingsSpareMostOfAReversalWalk) {
  std::mt19937 rng(99);
  Words words =
      testing::RandomWords(rng, "abcdefghijklmnopqrstuvwxyz", 3000, 9);
  for (int i = 0; i < 40; ++i) {
    const std::string half = testing::RandomWords(rng, kLetters, 1, 7)[0];
    words.push_back(half);
    words.push_back(std::string(half.rbegin(), half.rend()));
  }
  const std::string image = testing::CompileWords(words);
  for (int mode = 0; mode <= kRotate; ++mode) {
    if (!ReversesOrder(mode)) continue;
    for (int form : {kSameWord, kAnotherWord}) {
      CDictionaryVocorFile with, without;
      ASSERT_TRUE(with.OpenImage(FileImage::FromBytes(image)));
      ASSERT_TRUE(
          without.OpenImage(FileImage::FromBytes(WithoutEndings(image))));
      int64_t with_work = 0, without_work = 0;
      EnumPtr fast = Filter(with, mode, form, kMinScore, false);
      EnumPtr plain = Filter(without, mode, form, kMinScore, false);
      const Words found = ReadCountingWork(fast.get(), &with_work);
      EXPECT_EQ(found, ReadCountingWork(plain.get(), &without_work));
      if (form == kAnotherWord) {
        EXPECT_FALSE(found.empty());
      }
      EXPECT_LE(with_work, without_work) << mode << " " << form;
      // Reversal pairs: nothing else passes subtrees.
      if (mode == kReverse && form == kAnotherWord) {
        EXPECT_LT(with_work * 4, without_work);
      }
    }
  }
}

// Damage anywhere in the file: both readings end at the same word with the
// same words before it, and both note the damage. Two exceptions come from
// the word endings. Damaged endings are dropped, and the reversing walks,
// which ask for them, note that. Damage to the tree leaves intact endings
// describing the words that were written: the walk may then pass over a
// word that the changed letters made into a survivor, and so over the
// damage its lookup would have met, but never over damage of its own walk.
// Without the endings the two agree exactly.
TEST(VocorSurvivorsTest, SameEndAsTheFilterOnDamagedFiles) {
  std::mt19937 rng(777);
  int damaged_walks = 0;
  int ending_damages = 0;
  for (int round = 0; round < 400; ++round) {
    const std::string image = testing::CompileWords(RandomList(rng));
    std::string damaged = image;
    for (int flips = 1 + rng() % 2; flips > 0; --flips) {
      const size_t offset =
          kVocorHeaderSize + rng() % (image.size() - kVocorHeaderSize);
      damaged[offset] = static_cast<char>(
          rng() % 2 == 0 ? damaged[offset] ^ (1 << rng() % 8) : rng() % 256);
    }
    std::unique_ptr<VocorWordEndings> endings;
    const auto status = VocorWordEndings::Locate(damaged.data(), damaged.size(),
                                                 &endings, nullptr);
    if (status == VocorWordEndings::Status::kDamaged) ++ending_damages;
    for (int mode = 0; mode <= kRotate; ++mode) {
      for (int form : {kSameWord, kAnotherWord}) {
        const std::string what = "round " + std::to_string(round) + " mode " +
                                 std::to_string(mode) + " form " +
                                 std::to_string(form);
        for (const std::string& file : {damaged, WithoutEndings(damaged)}) {
          CDictionaryVocorFile fast_dict, slow_dict;
          if (!fast_dict.OpenImage(FileImage::FromBytes(file))) continue;
          ASSERT_TRUE(slow_dict.OpenImage(FileImage::FromBytes(file)));
          EnumPtr fast = Filter(fast_dict, mode, form, kMinScore, false);
          EnumPtr slow = Filter(slow_dict, mode, form, kMinScore, true);
          const Words expected = testing::ReadAllInSlices(slow.get(), 7);
          const Words found = testing::ReadAllInSlices(fast.get(), 7);
          const bool asks = ReversesOrder(mode) &&
                            LoadLE32(file.data() + kVocorEndingsOffsetOffset);
          if (asks && status == VocorWordEndings::Status::kPresent) {
            ASSERT_TRUE(IsSubsequence(found, expected)) << what;
            ASSERT_TRUE(!fast_dict.DamageSeen() || slow_dict.DamageSeen())
                << what;
            continue;
          }
          ASSERT_EQ(found, expected) << what;
          const bool dropped =
              asks && status == VocorWordEndings::Status::kDamaged;
          ASSERT_EQ(fast_dict.DamageSeen(), slow_dict.DamageSeen() || dropped)
              << what;
          if (slow_dict.DamageSeen()) ++damaged_walks;
        }
      }
    }
  }
  EXPECT_GT(damaged_walks, 100);
  EXPECT_GT(ending_damages, 10);
}

}  // namespace
}  // namespace vocor
