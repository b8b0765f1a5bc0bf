// Every random query over a random word list, built on the text dictionary
// of that list, yields what the brute-force reference yields on the words.
#include <gtest/gtest.h>

#include <algorithm>

#include "dictionary/testing/scratch_dir.h"
#include "dictionary/text_file_dictionary.h"
#include "engine/palindrome.h"
#include "engine/testing/reference.h"
#include "engine/testing/vector_enum.h"

namespace vocor {
namespace {

using testing::ReadAll;
using testing::ReadAllInSlices;

// Writes the words with random separators and random capitals; the
// dictionary must hand them back lower-cased, in file order.
std::string AsFileText(const std::vector<std::string>& words,
                       std::mt19937& rng) {
  static const char* const kSeparators[] = {"\n", "\r\n", " ",
                                            "\t", " 12 ", ", "};
  std::string text = rng() % 2 ? "" : "  \n";
  for (const auto& w : words) {
    for (char c : w) {
      text += rng() % 5 == 0 ? static_cast<char>(c - 'a' + 'A') : c;
    }
    text += kSeparators[rng() % 6];
  }
  return text;
}

TEST(TextDifferentialTest, RandomQueriesOnRandomLists) {
  testing::ScratchDir dir;
  std::mt19937 rng(4242);
  const std::string alphabet = "abeilnost";
  for (int round = 0; round < 600; ++round) {
    const auto words = testing::RandomWords(rng, "aeiost", 1 + rng() % 30, 5);
    CDictionaryTextFile dict;
    dict.SetFileName(dir.Write("list.txt", AsFileText(words, rng)).c_str());
    ASSERT_TRUE(dict.Open());
    ASSERT_EQ(dict.GetWordCount(), static_cast<int>(words.size()));

    const testing::RefQuery query = testing::RandomQuery(rng, alphabet);
    const auto expected = testing::Evaluate(query, words);
    EnumPtr tree =
        testing::Build(query, [&dict] { return dict.CreateEnumerator(); });
    EnumPtr copy = tree->Clone();
    ASSERT_EQ(ReadAll(tree.get()), expected) << query.ToString();
    ASSERT_EQ(ReadAllInSlices(copy.get(), 1 + rng() % 3), expected)
        << query.ToString();
    const std::set<std::string> found(expected.begin(), expected.end());
    for (const auto& probe : testing::RandomWords(rng, "aeiost", 4, 5)) {
      ASSERT_EQ(tree->Contains(probe.c_str()), found.count(probe) > 0)
          << query.ToString() << " contains " << probe;
    }
  }
}

// Random words with the transformed images of some of them mixed in.
std::vector<std::string> WordsAndImages(std::mt19937& rng, int mode) {
  auto words = testing::RandomWords(rng, "abehimnostwx", 1 + rng() % 400, 6);
  const size_t originals = words.size();
  std::string image;
  for (size_t i = 0; i < originals; ++i) {
    if (rng() % 3 == 0 && testing::RefTransform(mode, words[i], &image)) {
      words.push_back(image);
    }
  }
  std::shuffle(words.begin(), words.end(), rng);
  return words;
}

// The another-word search over one list or the union of two, read in
// random slices: building the word index in slices of the counter changes
// nothing that is found, and takes at least one slice per slice's worth of
// words.
TEST(TextDifferentialTest, AnotherWordInSlicesOverListsWithTheirImages) {
  testing::ScratchDir dir;
  std::mt19937 rng(1606);
  for (int round = 0; round < 300; ++round) {
    const int mode = rng() % 4;
    const auto first = WordsAndImages(rng, mode);
    const auto second =
        rng() % 2 ? WordsAndImages(rng, mode) : std::vector<std::string>{};
    CDictionaryTextFile dict1, dict2;
    dict1.SetFileName(dir.Write("one.txt", AsFileText(first, rng)).c_str());
    dict2.SetFileName(dir.Write("two.txt", AsFileText(second, rng)).c_str());
    ASSERT_TRUE(dict1.Open());
    EnumPtr source = dict1.CreateEnumerator();
    std::vector<std::string> all = first;
    if (!second.empty()) {
      ASSERT_TRUE(dict2.Open());
      source = source->Merge(std::move(source), dict2.CreateEnumerator());
      all.insert(all.end(), second.begin(), second.end());
    }
    testing::RefQuery ref;
    ref.kind = testing::RefQuery::kPalindrome;
    ref.number = mode;
    ref.number2 = kAnotherWord;
    const int slice = 1 + rng() % 50;
    CEnumResultsPalindrome query(std::move(source), mode, kAnotherWord);
    int suspensions = 0;
    ASSERT_EQ(ReadAllInSlices(&query, slice, &suspensions),
              testing::Evaluate(ref, all))
        << "round " << round << " mode " << mode << " slice " << slice;
    EXPECT_GE(suspensions, static_cast<int>(all.size()) / slice);
  }
}

}  // namespace
}  // namespace vocor
