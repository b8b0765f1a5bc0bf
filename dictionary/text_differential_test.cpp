// Every random query over a random word list, built on the text dictionary
// of that list, yields what the brute-force reference yields on the words.
#include <gtest/gtest.h>

#include "dictionary/testing/scratch_dir.h"
#include "dictionary/text_file_dictionary.h"
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

}  // namespace
}  // namespace vocor
