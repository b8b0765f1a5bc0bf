#include "engine/phrase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/testing/reference.h"
#include "engine/testing/vector_enum.h"

namespace vocor {
namespace {

using testing::MakeScoredVectorEnum;
using testing::MakeVectorEnum;
using testing::ReadAll;
using testing::ReadAllInSlices;
using Words = std::vector<std::string>;

const Words kWords = {"a",     "an",    "ant",  "at",   "eat",  "en",
                      "i",     "in",    "it",   "nit",  "sat",  "sea",
                      "set",   "so",    "tan",  "tea",  "ten",  "tin",
                      "to",    "ton",   "east", "nest", "sent", "stain",
                      "satin", "saint", "neat", "note"};

Words Phrases(const char* letters, const char* pattern, int max_words = 0,
              int min_length = 1, const Words& words = kWords) {
  EnumPtr e = BuildAnagramPhraseQuery(MakeVectorEnum(words), letters, pattern,
                                      max_words, min_length);
  return ReadAll(e.get());
}

bool Has(const Words& words, const std::string& w) {
  return std::find(words.begin(), words.end(), w) != words.end();
}

TEST(PhraseQueryTest, StarsGiveEachCombinationOnceInAscendingOrder) {
  const Words found = Phrases("antsit", "*,*");
  EXPECT_TRUE(Has(found, "ant its") || Has(found, "it tans") ||
              Has(found, "at tins") || Has(found, "nit sat"));
  EXPECT_TRUE(Has(found, "nit sat"));
  EXPECT_FALSE(Has(found, "sat nit"));  // once, in dictionary order
  for (const std::string& phrase : found) {
    const size_t space = phrase.find(' ');
    ASSERT_NE(space, std::string::npos) << phrase;
    EXPECT_LE(std::find(kWords.begin(), kWords.end(), phrase.substr(0, space)),
              std::find(kWords.begin(), kWords.end(), phrase.substr(space + 1)))
        << phrase;
  }
  // A fixed piece keeps its place: both orders of a pair are distinct.
  EXPECT_TRUE(Has(Phrases("antsit", "3,*"), "sat nit"));
  EXPECT_TRUE(Has(Phrases("antsit", "3,*"), "nit sat"));
  // The same word twice is one combination.
  EXPECT_EQ(Phrases("aann", "*,*"), (Words{"an an"}));
}

Words Sorted(Words words) {
  std::sort(words.begin(), words.end());
  return words;
}

TEST(PhraseQueryTest, MaxWordsGivesEachCombinationOnceWithWordsInListOrder) {
  const Words list = {"a", "an", "ant", "at", "n", "t", "tan"};
  EXPECT_EQ(Sorted(Phrases("tan", nullptr, 3, 1, list)),
            (Words{"a n t", "an t", "ant", "at n", "tan"}));
  EXPECT_EQ(Sorted(Phrases("tan", nullptr, 2, 2, list)), (Words{"ant", "tan"}));
  // Words keep the list's order within a phrase, not the alphabet's.
  EXPECT_EQ(Sorted(Phrases("tan", nullptr, 3, 1, {"t", "n", "a"})),
            (Words{"t n a"}));
  // Minimum word length removes the one-letter words everywhere.
  for (const std::string& p : Phrases("saintea", nullptr, 3, 2)) {
    EXPECT_EQ(p.find("a "), std::string::npos) << p;
    EXPECT_NE(p.substr(0, 2), "a ") << p;
  }
}

TEST(PhraseQueryTest, BlanksAndImpossibleShapes) {
  // '?' stands for any letter in any word of the phrase.
  EXPECT_TRUE(Has(Phrases("ait?", "2,2"), "at in"));
  EXPECT_TRUE(Has(Phrases("ai??", "*,*"), "at in"));
  EXPECT_TRUE(IsNone(
      BuildAnagramPhraseQuery(MakeVectorEnum(kWords), "", "*,*", 0, 1).get()));
  EXPECT_TRUE(
      IsNone(BuildAnagramPhraseQuery(MakeVectorEnum(kWords), "ab", "2,,2", 0, 1)
                 .get()));
  EXPECT_TRUE(Phrases("ant", "*,*", 0, 3).empty());
}

TEST(PhraseQueryTest, GivenLengthsGiveTodaysPhrasesInTodaysOrder) {
  std::mt19937 rng(4242);
  for (int round = 0; round < 300; ++round) {
    const Words words = testing::RandomWords(rng, "aeinst", 1 + rng() % 40, 4);
    std::string letters;
    for (int n = 2 + rng() % 7; n > 0; --n) letters += "aeinst?"[rng() % 7];
    std::string lengths = std::to_string(1 + rng() % 3);
    for (int n = 1 + rng() % 3; n > 0; --n) {
      lengths.push_back(',');
      lengths += std::to_string(1 + rng() % 3);
    }
    EnumPtr today = BuildAnagramQuery(MakeVectorEnum(words), letters.c_str(),
                                      lengths.c_str());
    EnumPtr walk = BuildAnagramPhraseQuery(
        MakeVectorEnum(words), letters.c_str(), lengths.c_str(), 0, 1);
    ASSERT_EQ(ReadAll(walk.get()), ReadAll(today.get()))
        << letters << " " << lengths;
  }
}

std::string ShapeText(const PhraseShape& shape) {
  std::string text = std::to_string(shape.min_words) + "+:";
  for (const auto& p : shape.pieces) text += " " + p;
  return text + (shape.use_all ? " all" : " some") + " min" +
         std::to_string(shape.min_word_length);
}

PhraseShape RandomShape(std::mt19937& rng) {
  if (rng() % 3 == 0) {
    return AnyPhraseShape(1 + rng() % 4, 1 + rng() % 3);
  }
  static const char* kPieces[] = {"*", "*", "*", "?", "??", "a*", "?*", "s??"};
  PhraseShape shape;
  for (int n = 1 + rng() % 3; n > 0; --n) {
    shape.pieces.push_back(kPieces[rng() % 8]);
    shape.ascending.push_back(shape.pieces.size() > 1 &&
                              shape.pieces.back() == "*" &&
                              shape.pieces[shape.pieces.size() - 2] == "*");
  }
  shape.min_words = static_cast<int>(shape.pieces.size());
  shape.use_all = rng() % 4 != 0;
  shape.min_word_length = 1 + rng() % 2;
  return shape;
}

// The walk against the brute-force reference, read whole, in slices of a
// few units (suspending anywhere), as a clone, and again after Reset.
TEST(PhraseDifferentialTest, RandomShapesOnRandomLists) {
  std::mt19937 rng(1357);
  for (int round = 0; round < 1500; ++round) {
    const Words words = testing::RandomWords(rng, "aenst", 1 + rng() % 40, 4);
    std::string letters;
    for (int n = 1 + rng() % 8; n > 0; --n) letters += "aenst??"[rng() % 7];
    const PhraseShape shape = RandomShape(rng);
    const Words expected = Sorted(testing::RefPhrases(words, letters, shape));
    EnumPtr e = BuildPhraseQuery(MakeVectorEnum(words, 1 + rng() % 3),
                                 letters.c_str(), shape);
    EnumPtr copy = e->Clone();
    const Words found = ReadAll(e.get());
    ASSERT_EQ(Sorted(found), expected) << letters << " " << ShapeText(shape);
    ASSERT_LE(e->GetPosition(), e->GetExtent());
    e->Reset();
    ASSERT_EQ(ReadAll(e.get()), found);
    int suspensions = 0;
    ASSERT_EQ(ReadAllInSlices(copy.get(), 1 + rng() % 4, &suspensions), found)
        << letters << " " << ShapeText(shape);
    if (!expected.empty() && rng() % 10 == 0) {
      ASSERT_TRUE(copy->Contains(expected.back().c_str()));
      ASSERT_FALSE(copy->Contains((expected.back() + "x").c_str()));
    }
  }
}

// Words made by cutting the shuffled letters into pieces, so that phrases
// using every letter exist, among random words of the same letters; in
// dictionary order.
Words WordsCutFrom(std::mt19937& rng, const std::string& letters) {
  Words words = testing::RandomWords(rng, letters, 30, 8);
  for (int cut = 0; cut < 4; ++cut) {
    std::string shuffled = letters;
    std::shuffle(shuffled.begin(), shuffled.end(), rng);
    const size_t a = 1 + rng() % (shuffled.size() - 2);
    const size_t b = a + 1 + rng() % (shuffled.size() - a - 1);
    words.push_back(shuffled.substr(0, a));
    words.push_back(shuffled.substr(a, b - a));
    words.push_back(shuffled.substr(b));
  }
  std::sort(words.begin(), words.end());
  return words;
}

// Budgets whose counts do not pack into one key (more than 64 bits of
// fields) take the general walk: same phrases as the reference.
TEST(PhraseDifferentialTest, BudgetsTooWideToPack) {
  std::mt19937 rng(97531);
  int phrases = 0;
  for (int round = 0; round < 40; ++round) {
    // 22 letters of 2 or 3 each: three bits a field, 66 bits in all.
    std::string letters;
    for (char c = 'a'; c < 'a' + 22; ++c) {
      letters.append(2 + rng() % 2, c);
    }
    const Words words = WordsCutFrom(rng, letters);
    PhraseShape shape = AnyPhraseShape(3 + rng() % 2, 1 + rng() % 2);
    if (rng() % 3 == 0) shape.use_all = false;
    const Words expected = Sorted(testing::RefPhrases(words, letters, shape));
    phrases += static_cast<int>(expected.size());
    EnumPtr e = BuildPhraseQuery(MakeVectorEnum(words, 1 + rng() % 3),
                                 letters.c_str(), shape);
    ASSERT_EQ(Sorted(ReadAll(e.get())), expected)
        << letters << " " << ShapeText(shape);
    e->Reset();
    ASSERT_EQ(Sorted(ReadAllInSlices(e.get(), 1 + rng() % 4)), expected);
  }
  EXPECT_GT(phrases, 40);
}

// Millions of phrases: the walk yields its first ones after a bounded
// amount of work, and every slice ends within its budget.
TEST(PhraseQueryTest, ManyPhrasesComeInSmallSlices) {
  Words words;
  for (char a = 'a'; a <= 'z'; ++a) {
    for (char b = 'a'; b <= 'z'; ++b) words.push_back(std::string{a, b});
  }
  EnumPtr e = BuildAnagramPhraseQuery(
      MakeVectorEnum(words), "abcdefghijklmnopqrstuvwxyz", nullptr, 13, 1);
  int results = 0;
  int slices = 0;
  while (results < 1000 && slices < 100000) {
    int counter = 500;
    if (e->Next(&counter) != nullptr) {
      ++results;
    } else {
      ASSERT_EQ(counter, 0) << "ended early";
      ++slices;
    }
    ASSERT_GE(counter, 0);
    ASSERT_LE(e->GetPosition(), e->GetExtent());
  }
  EXPECT_EQ(results, 1000);
  EXPECT_LT(slices, 100);
}

using Scored = std::vector<std::pair<std::string, int>>;

// Reads (phrase, score) pairs, whole (slice 0) or in slices of work, in
// phrase order; progress never goes back nor past the extent.
Scored ReadScored(CEnumResults* e, int slice) {
  Scored out;
  int position = 0;
  for (;;) {
    int counter = slice;
    const char* phrase = e->Next(slice > 0 ? &counter : nullptr);
    EXPECT_GE(counter, 0);
    EXPECT_GE(e->GetPosition(), position);
    position = e->GetPosition();
    EXPECT_LE(position, e->GetExtent());
    if (phrase != nullptr) {
      out.emplace_back(phrase, e->Score());
    } else if (slice == 0 || counter != 0) {
      break;
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

// A word that cannot be followed where it stands may still follow a word
// before it in the list: "te" after "n" leaves "a", which comes before it,
// yet "n a te" is a phrase.
TEST(PhraseQueryTest, AWordWithNoFollowerStillFollowsAnEarlierWord) {
  PhraseShape shape;
  shape.pieces = {"?", "*", "*"};
  shape.ascending = {false, false, true};
  shape.min_words = 3;
  shape.use_all = false;
  EnumPtr e = BuildPhraseQuery(MakeVectorEnum({"n", "a", "te"}), "ntea", shape);
  EXPECT_EQ(Sorted(ReadAll(e.get())), (Words{"a n te", "n a te"}));
}

// Scored lists (a repeated word with several scores, ties), random floors
// given before reading, after reading, and to a clone of a query read:
// every phrase with the lowest score of its words, as the reference
// finds them, read whole or in slices.
TEST(PhraseDifferentialTest, ScoresAndFloorsOnRandomScoredLists) {
  std::mt19937 rng(2718);
  static const int kScores[] = {1, 10, 30, 50, 50, 80, 100};
  static const int kFloors[] = {1, 10, 31, 50, 80, 100};
  int scored_phrases = 0;
  for (int round = 0; round < 1200; ++round) {
    Scored scored;
    for (const std::string& w :
         testing::RandomWords(rng, "aenst", 1 + rng() % 40, 4)) {
      scored.emplace_back(w, kScores[rng() % 7]);
    }
    std::string letters;
    for (int n = 1 + rng() % 8; n > 0; --n) letters += "aenst??"[rng() % 7];
    const PhraseShape shape = RandomShape(rng);
    const int floor = kFloors[rng() % 6];
    const int cost = 1 + rng() % 3;
    std::string what = letters + " " + ShapeText(shape) + " floor " +
                       std::to_string(floor) + ":";
    for (const auto& [w, sc] : scored)
      what += " " + w + "/" + std::to_string(sc);
    const Scored all = testing::RefScoredPhrases(scored, letters, shape, 1);
    Scored expected = testing::RefScoredPhrases(scored, letters, shape, floor);
    std::sort(expected.begin(), expected.end());
    scored_phrases += static_cast<int>(expected.size());

    EnumPtr before = BuildPhraseQuery(MakeScoredVectorEnum(scored, cost),
                                      letters.c_str(), shape);
    before = before->MinScore(std::move(before), floor);
    ASSERT_EQ(ReadScored(before.get(), 1 + rng() % 4), expected) << what;

    EnumPtr after = BuildPhraseQuery(MakeScoredVectorEnum(scored, cost),
                                     letters.c_str(), shape);
    ASSERT_EQ(ReadScored(after.get(), 0).size(), all.size()) << what;
    EnumPtr clone = after->Clone();
    clone = clone->MinScore(std::move(clone), floor);
    ASSERT_EQ(ReadScored(clone.get(), 1 + rng() % 4), expected) << what;
    after = after->MinScore(std::move(after), floor);
    after->Reset();
    ASSERT_EQ(ReadScored(after.get(), 0), expected) << what;

    // A floor given midway through reading the words.
    EnumPtr midway = BuildPhraseQuery(MakeScoredVectorEnum(scored, cost),
                                      letters.c_str(), shape);
    int counter = 1 + rng() % 8;
    midway->Next(&counter);
    midway = midway->MinScore(std::move(midway), floor);
    midway->Reset();
    ASSERT_EQ(ReadScored(midway.get(), 1 + rng() % 4), expected) << what;

    if (IsNone(before.get())) continue;
    EXPECT_TRUE(before->YieldsPhrases());
    ScoreCounts counts{}, source{};
    before->CountScores(&counts);
    for (const auto& [word, score] : scored) {
      if (score >= floor) ++source[score];
    }
    ASSERT_EQ(counts, source) << what;
  }
  EXPECT_GT(scored_phrases, 1000);
}

TEST(PhraseQueryTest, DescribeNamesShapeAndBudget) {
  EnumPtr e = BuildAnagramPhraseQuery(MakeVectorEnum(kWords, 1, "dict"), "ant",
                                      "*,*", 0, 1);
  EXPECT_EQ(e->Describe(0),
            "Phrase(\"* <= *\", 2 words or more, all letters, \"ant\")\n"
            "\tLetters(\"<null>\",\"ant\")\n\t\tVector(\"dict\")\n");
  e = e->MinScore(std::move(e), 60);
  EXPECT_EQ(
      e->Describe(0).substr(0, e->Describe(0).find('\n')),
      "Phrase(\"* <= *\", 2 words or more, all letters, \"ant\", score 60 "
      "or more)");
}

}  // namespace
}  // namespace vocor
