// Differential test of the algebra: random queries over random word lists,
// built by the engine's rewriting operations and evaluated by the
// brute-force reference, must yield the same words in the same order,
// whether read without a limit or in slices of a few units of work.
#include "engine/testing/reference.h"

#include <gtest/gtest.h>

#include "engine/testing/vector_enum.h"

namespace vocor::testing {
namespace {

TEST(ReferenceDifferentialTest, RandomQueriesOverWordVectors) {
  std::mt19937 rng(20261207);
  const std::string alphabet = "abst";
  for (int round = 0; round < 3000; ++round) {
    const auto words = RandomWords(rng, alphabet, 1 + rng() % 25, 4);
    const RefQuery query = RandomQuery(rng, alphabet);
    const int cost = 1 + rng() % 3;
    auto source = [&] { return MakeVectorEnum(words, cost); };
    const auto expected = Evaluate(query, words);

    EnumPtr tree = Build(query, source);
    EnumPtr copy = tree->Clone();
    ASSERT_EQ(ReadAll(tree.get()), expected) << query.ToString();
    ASSERT_EQ(ReadAllInSlices(copy.get(), 1 + rng() % 4), expected)
        << query.ToString();
    tree->Reset();
    ASSERT_EQ(ReadAll(tree.get()), expected) << query.ToString();

    // Contains agrees with membership, for words and for non-words.
    const std::set<std::string> found(expected.begin(), expected.end());
    for (int probe = 0; probe < 5; ++probe) {
      const std::string w = rng() % 2 && !expected.empty()
                                ? expected[rng() % expected.size()]
                                : RandomWords(rng, alphabet, 1, 4)[0];
      ASSERT_EQ(tree->Contains(w.c_str()), found.count(w) > 0)
          << query.ToString() << " contains " << w;
    }
  }
}

}  // namespace
}  // namespace vocor::testing
