// A damaged binary dictionary is refused at Open or walked to a clean end,
// whatever its bytes: every truncation of a compiled sample and byte flips
// at every offset. Run under the sanitizers, this is what shows that the
// reader never reads outside the file image.
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
};

constexpr Probe kProbes[] = {
    {"*", nullptr, nullptr},    {"*a*", nullptr, nullptr},
    {"?at*", nullptr, nullptr}, {"c?t?", nullptr, nullptr},
    {"*", "s", "aeilnorst?"},   {"??*", nullptr, "abcst"},
};

// Walks the query to exhaustion within the budget; returns whether it got
// there.
bool WalksToTheEnd(CEnumResults* e) {
  int spent = 0;
  while (spent < kUnitBudget) {
    int counter = 1000;
    const char* word = e->Next(&counter);
    spent += 1000 - counter;
    if (word != nullptr) {
      if (std::strlen(word) > static_cast<size_t>(kMaxWordLength)) return false;
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
  for (size_t length = 0; length < sample.size(); ++length) {
    const bool opened = Exercise(sample.substr(0, length));
    // The notes come last, so every shorter file loses their NUL.
    EXPECT_FALSE(opened) << length;
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

}  // namespace
}  // namespace vocor
