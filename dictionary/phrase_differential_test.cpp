// Phrase anagrams over real dictionaries: a binary file, a text list and a
// set of both give exactly the phrases the brute-force reference makes of
// the words each one yields, read whole or in slices (combinations of
// interchangeable words may come in another order).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "dictionary/dictionary_set.h"
#include "dictionary/testing/sample_dics.h"
#include "dictionary/testing/scratch_dir.h"
#include "dictionary/text_file_dictionary.h"
#include "dictionary/vocor_file_dictionary.h"
#include "engine/phrase.h"
#include "engine/testing/reference.h"
#include "engine/testing/vector_enum.h"

namespace vocor {
namespace {

using testing::ReadAll;
using testing::ReadAllInSlices;
using Words = std::vector<std::string>;

std::string Lines(const Words& words) {
  std::string text;
  for (const auto& w : words) text += w + "\n";
  return text;
}

PhraseShape RandomShape(std::mt19937& rng) {
  if (rng() % 2 == 0) return AnyPhraseShape(1 + rng() % 4, 1 + rng() % 2);
  static const char* kPieces[] = {"*", "*", "?", "??", "e*", "?*", "s??"};
  PhraseShape shape;
  for (int n = 2 + rng() % 2; n > 0; --n) {
    const std::string piece = kPieces[rng() % 7];
    shape.ascending.push_back(!shape.pieces.empty() && piece == "*" &&
                              shape.pieces.back() == "*");
    shape.pieces.push_back(piece);
  }
  shape.min_words = static_cast<int>(shape.pieces.size());
  shape.use_all = rng() % 4 != 0;
  return shape;
}

Words Sorted(Words words) {
  std::sort(words.begin(), words.end());
  return words;
}

void ExpectReferencePhrases(const CDictionary& dict, const std::string& letters,
                            const PhraseShape& shape, std::mt19937& rng) {
  EnumPtr all = dict.CreateEnumerator();
  const Words words = ReadAll(all.get());
  const Words expected = Sorted(testing::RefPhrases(words, letters, shape));
  EnumPtr e = BuildPhraseQuery(dict.CreateEnumerator(), letters.c_str(), shape);
  EnumPtr copy = e->Clone();
  ASSERT_EQ(Sorted(ReadAll(e.get())), expected)
      << dict.GetName() << " " << letters;
  ASSERT_EQ(Sorted(ReadAllInSlices(copy.get(), 1 + rng() % 5)), expected)
      << dict.GetName() << " " << letters;
}

// Random lists over `alphabet` (engine text with no byte of 0x80-0xBF, so
// that a text list of it is never taken for UTF-8), `rounds` times.
void CompareOnRandomDictionaries(unsigned seed, const std::string& alphabet,
                                 int rounds) {
  testing::ScratchDir dir;
  std::mt19937 rng(seed);
  const std::string tiles = alphabet + "?";
  for (int round = 0; round < rounds; ++round) {
    const Words words = testing::RandomWords(rng, alphabet, 1 + rng() % 40, 5);
    const Words others = testing::RandomWords(rng, alphabet, 1 + rng() % 20, 4);
    CDictionaryTextFile text;
    text.SetFileName(dir.Write("list.txt", Lines(words)).c_str());
    ASSERT_TRUE(text.Open());
    CDictionaryVocorFile binary;
    ASSERT_TRUE(
        binary.OpenImage(FileImage::FromBytes(testing::CompileWords(others))));
    CDictionarySet set;
    set.members().AddTail(&text);
    set.members().AddTail(&binary);

    std::string letters;
    for (int n = 2 + rng() % 7; n > 0; --n) {
      letters += tiles[rng() % tiles.size()];
    }
    const PhraseShape shape = RandomShape(rng);
    ExpectReferencePhrases(text, letters, shape, rng);
    ExpectReferencePhrases(binary, letters, shape, rng);
    ExpectReferencePhrases(set, letters, shape, rng);
  }
}

TEST(PhraseDictionaryDifferentialTest, BinaryTextAndSets) {
  CompareOnRandomDictionaries(8128, "aenst", 200);
}

// Accented letters (é, ø, å) are budget letters like any other.
TEST(PhraseDictionaryDifferentialTest, AccentedLetters) {
  CompareOnRandomDictionaries(6174, "a\xe9n\xf8s\xe5", 150);
}

// Given word lengths keep today's phrases and order on a binary file.
TEST(PhraseDictionaryDifferentialTest, GivenLengthsOnABinaryFile) {
  std::mt19937 rng(496);
  for (int round = 0; round < 200; ++round) {
    const Words words = testing::RandomWords(rng, "aeinst", 1 + rng() % 60, 4);
    CDictionaryVocorFile dict;
    ASSERT_TRUE(
        dict.OpenImage(FileImage::FromBytes(testing::CompileWords(words))));
    std::string letters;
    for (int n = 3 + rng() % 8; n > 0; --n) letters += "aeinst?"[rng() % 7];
    std::string lengths = std::to_string(1 + rng() % 4);
    for (int n = 1 + rng() % 2; n > 0; --n) {
      lengths.push_back(',');
      lengths += std::to_string(1 + rng() % 4);
    }
    EnumPtr today = BuildAnagramQuery(dict.CreateEnumerator(), letters.c_str(),
                                      lengths.c_str());
    EnumPtr walk = BuildAnagramPhraseQuery(
        dict.CreateEnumerator(), letters.c_str(), lengths.c_str(), 0, 1);
    ASSERT_EQ(ReadAll(walk.get()), ReadAll(today.get()))
        << letters << " " << lengths;
  }
}

}  // namespace
}  // namespace vocor
