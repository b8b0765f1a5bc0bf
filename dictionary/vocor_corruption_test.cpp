// A damaged binary dictionary is refused at Open or walked to a clean end,
// whatever its bytes: every truncation of a compiled sample and byte flips
// at every offset. Run under the sanitizers, this is what shows that the
// reader never reads outside the file image. A scored sample adds the
// score section: cut, flipped, and its head and offset damaged.
#include <gtest/gtest.h>

#include "dictionary/testing/sample_dics.h"
#include "dictionary/vocor_file_dictionary.h"

namespace vocor {
namespace {

// Far more than any walk of the sample takes, far less than a runaway one.
constexpr int kUnitBudget = 1'000'000;

struct Probe {
  const char* pattern;
  const char* min_text;
  const char* max_text;
  int floor;
};

constexpr Probe kProbes[] = {
    {"*", nullptr, nullptr, 1},     {"*a*", nullptr, nullptr, 1},
    {"?at*", nullptr, nullptr, 30}, {"c?t?", nullptr, nullptr, 1},
    {"*", "s", "aeilnorst?", 1},    {"??*", nullptr, "abcst", 60},
    {"*", nullptr, nullptr, 50},    {"*s", nullptr, nullptr, 20},
    // Walks that remember dead pairs: shared nodes met again, and damage
    // met in one of them.
    {"*{ta}*", nullptr, nullptr, 1},
    {"2-5:[a-m]*", nullptr, "a*c*e*l*n*o*s*t*", 30},
};

// Walks the query to exhaustion within the budget; returns whether it got
// there. Every word's score must be a score.
bool WalksToTheEnd(CEnumResults* e) {
  int spent = 0;
  while (spent < kUnitBudget) {
    int counter = 1000;
    const char* word = e->Next(&counter);
    spent += 1000 - counter;
    if (word != nullptr) {
      if (std::strlen(word) > static_cast<size_t>(kMaxWordLength)) return false;
      if (!IsValidScore(e->Score())) return false;
      continue;
    }
    if (counter != 0) return true;
  }
  return false;
}

// Opens `image`; if it opens, runs every probe and a few lookups over it.
// Returns whether it opened.
bool Exercise(const std::string& image) {
  CDictionaryVocorFile dict;
  if (!dict.OpenImage(FileImage::FromBytes(image))) return false;
  dict.GetName();
  dict.GetNotes();
  for (const Probe& probe : kProbes) {
    EnumPtr e = dict.CreateEnumerator();
    e = e->Pattern(std::move(e), probe.pattern);
    e = e->Letters(std::move(e),
                   CLetterConstraint(probe.min_text, probe.max_text));
    e = e->MinScore(std::move(e), probe.floor);
    ScoreCounts counts{};
    e->CountScores(&counts);
    EXPECT_TRUE(WalksToTheEnd(e.get())) << probe.pattern;
    EXPECT_LE(e->GetPosition(), e->GetExtent());
    EXPECT_GE(e->GetPosition(), 0);
    for (const char* word : {"cat", "onions", "abracadabra", "x-ray", ""}) {
      e->Contains(word);
    }
    e->Reset();
    EnumPtr clone = e->Clone();
    EXPECT_TRUE(WalksToTheEnd(clone.get()));
  }
  return true;
}

std::string Sample() {
  return testing::CompileWords(testing::SampleWords(), "Sample",
                               "Words for damage tests.");
}

TEST(VocorCorruptionTest, EveryTruncation) {
  const std::string sample = Sample();
  ASSERT_TRUE(Exercise(sample));
  // The letter summaries follow the notes: a file cut before them loses
  // the notes' NUL and is refused; one cut inside them opens, and its
  // walks go without them.
  const size_t summaries = LoadLE32(sample.data() + kVocorSummaryOffsetOffset);
  ASSERT_GT(summaries, 0u);
  for (size_t length = 0; length < sample.size(); ++length) {
    const bool opened = Exercise(sample.substr(0, length));
    EXPECT_EQ(opened, length >= summaries) << length;
  }
}

TEST(VocorCorruptionTest, ByteFlipsAtEveryOffset) {
  const std::string sample = Sample();
  int opened = 0;
  for (size_t offset = 0; offset < sample.size(); ++offset) {
    const auto original = static_cast<unsigned char>(sample[offset]);
    for (unsigned value : {0x00u, 0xFFu, original ^ 0x01u, original ^ 0x80u,
                           original ^ 0x10u, (original + 4u) & 0xFFu}) {
      std::string damaged = sample;
      damaged[offset] = static_cast<char>(value);
      if (Exercise(damaged)) ++opened;
      if (::testing::Test::HasFailure()) {
        FAIL() << "at offset " << offset << " value " << value;
      }
    }
  }
  EXPECT_GT(opened, 0);
}

// The sample with a score per word, every score different from the
// default so that a lost score shows.
std::string ScoredSample() {
  const std::vector<std::string> words = testing::SampleWords();
  std::vector<uint8_t> scores;
  for (size_t i = 0; i < words.size(); ++i) {
    scores.push_back(static_cast<uint8_t>(51 + (i * 7) % 50));
  }
  return testing::CompileScoredWords(words, scores, "Sample",
                                     "Words for damage tests.");
}

using ScoredWords = std::vector<std::pair<std::string, int>>;

ScoredWords ReadScored(const CDictionaryVocorFile& dict) {
  ScoredWords found;
  EnumPtr e = dict.CreateEnumerator();
  while (const char* word = e->Next(nullptr)) {
    found.emplace_back(word, e->Score());
  }
  return found;
}

uint32_t SectionOffset(const std::string& image) {
  return LoadLE32(image.data() + kVocorScoresOffsetOffset);
}

// Cutting the file anywhere in its score section loses the scores, never
// the words: the file reads as unscored, and searches are told it is
// damaged.
TEST(VocorCorruptionTest, EveryTruncationOfTheScoreSection) {
  const std::string sample = ScoredSample();
  CDictionaryVocorFile whole;
  ASSERT_TRUE(whole.OpenImage(FileImage::FromBytes(sample)));
  ASSERT_TRUE(whole.HasScores());
  ScoredWords unscored = ReadScored(whole);
  for (auto& [word, score] : unscored) score = kDefaultScore;
  for (size_t length = SectionOffset(sample); length < sample.size();
       ++length) {
    const std::string cut = sample.substr(0, length);
    ASSERT_TRUE(Exercise(cut)) << length;
    CDictionaryVocorFile dict;
    ASSERT_TRUE(dict.OpenImage(FileImage::FromBytes(cut)));
    EXPECT_FALSE(dict.HasScores()) << length;
    EXPECT_TRUE(dict.DamageSeen()) << length;
    EXPECT_EQ(ReadScored(dict), unscored) << length;
  }
}

// A changed score byte changes that word's score alone; one outside
// 1..100 reads as the default and marks the file damaged when met.
TEST(VocorCorruptionTest, ByteFlipsInTheScores) {
  const std::string sample = ScoredSample();
  CDictionaryVocorFile whole;
  ASSERT_TRUE(whole.OpenImage(FileImage::FromBytes(sample)));
  const ScoredWords original = ReadScored(whole);
  const size_t first = SectionOffset(sample) + 8;
  ASSERT_EQ(sample.size() - first, original.size());
  for (size_t i = 0; i < original.size(); ++i) {
    for (unsigned value : {0u, 1u, 100u, 101u, 255u}) {
      std::string damaged = sample;
      damaged[first + i] = static_cast<char>(value);
      ASSERT_TRUE(Exercise(damaged));
      CDictionaryVocorFile dict;
      ASSERT_TRUE(dict.OpenImage(FileImage::FromBytes(damaged)));
      ScoredWords expected = original;
      const bool valid = IsValidScore(static_cast<int>(value));
      expected[i].second = valid ? static_cast<int>(value) : kDefaultScore;
      EXPECT_EQ(ReadScored(dict), expected) << i << " " << value;
      EXPECT_EQ(dict.DamageSeen(), !valid) << i << " " << value;
    }
  }
}

// Damage to the section's head or to the header field that finds it: the
// words stay readable and every score is a score. A head whose marker is
// intact but whose count is wrong leaves the file unscored and damaged;
// one without its marker is taken for no section at all.
TEST(VocorCorruptionTest, ByteFlipsInTheSectionHeadAndItsOffset) {
  const std::string sample = ScoredSample();
  const size_t section = SectionOffset(sample);
  CDictionaryVocorFile whole;
  ASSERT_TRUE(whole.OpenImage(FileImage::FromBytes(sample)));
  std::vector<std::string> words;
  for (const auto& [word, score] : ReadScored(whole)) words.push_back(word);
  std::vector<size_t> offsets = {280, 281, 282, 283};
  for (size_t i = section; i < section + 8; ++i) offsets.push_back(i);
  for (size_t offset : offsets) {
    const auto original = static_cast<unsigned char>(sample[offset]);
    for (unsigned value :
         {0x00u, 0xFFu, original ^ 0x01u, original ^ 0x80u, original ^ 0x10u}) {
      if (value == original) continue;
      std::string damaged = sample;
      damaged[offset] = static_cast<char>(value);
      ASSERT_TRUE(Exercise(damaged));
      CDictionaryVocorFile dict;
      ASSERT_TRUE(dict.OpenImage(FileImage::FromBytes(damaged)));
      std::vector<std::string> read;
      for (const auto& [word, score] : ReadScored(dict)) {
        read.push_back(word);
        if (!dict.HasScores()) {
          EXPECT_EQ(score, kDefaultScore);
        }
      }
      EXPECT_EQ(read, words) << offset << " " << value;
      if (offset >= section + 4) {  // the count
        EXPECT_FALSE(dict.HasScores()) << offset << " " << value;
        EXPECT_TRUE(dict.DamageSeen()) << offset << " " << value;
      } else if (offset >= section) {  // the marker
        EXPECT_FALSE(dict.HasScores()) << offset << " " << value;
        EXPECT_FALSE(dict.DamageSeen()) << offset << " " << value;
      }
    }
  }
}

}  // namespace
}  // namespace vocor
