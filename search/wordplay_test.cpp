// The cryptic helpers on hand-made lists, read through the requests over a
// text list, a binary file and a set of both, whole and in small slices.
#include "search/wordplay_request.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "dictionary/dictionary_set.h"
#include "dictionary/testing/sample_dics.h"
#include "dictionary/testing/scratch_dir.h"
#include "dictionary/text_file_dictionary.h"
#include "dictionary/vocor_file_dictionary.h"
#include "engine/testing/vector_enum.h"
#include "engine/wordplay.h"
#include "search/messages.h"

namespace vocor {
namespace {

using Words = std::vector<std::string>;

const Words kWords = {
    "the",  "hen",   "hens",   "cat",    "ache",  "pea",   "tap",
    "pat",  "spa",   "apse",   "tops",   "pots",  "stop",  "rain",
    "bow",  "bain",  "row",    "blow",   "crow",  "blush", "crushing",
    "blushing", "bat", "cow",  "fly",    "butter", "flutter", "by",
    "queen", "bean", "been", "quean",  "son",    "ton",   "eat",   "beat",
    "bit",  "it",    "level",  "sit",    "rat",   "ta",    "at",
    "tar",  "art",   "evil",   "live",   "vile",  "veil",  "lee",
    "eel",  "ate",   "tea",    "eta",    "nth",   "hmm"};

Words Sorted(Words words) {
  std::sort(words.begin(), words.end());
  return words;
}

// The same words as a text list, a binary file, and a set of two halves
// (one text, one binary), so that every reader answers the look-ups.
class WordplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string text;
    for (const std::string& word : kWords) text += word + "\n";
    text_.SetFileName(dir_.Write("words.txt", text).c_str());
    ASSERT_TRUE(text_.Open());
    ASSERT_TRUE(binary_.OpenImage(
        FileImage::FromBytes(testing::CompileWords(kWords))));
    const size_t half = kWords.size() / 2;
    std::string first_half;
    for (size_t i = 0; i < half; ++i) first_half += kWords[i] + "\n";
    set_.AdoptMember(
        OpenDictionaryFile(dir_.Write("half.txt", first_half).c_str()));
    auto second = std::make_unique<CDictionaryVocorFile>();
    ASSERT_TRUE(second->OpenImage(FileImage::FromBytes(testing::CompileWords(
        Words(kWords.begin() + static_cast<long>(half), kWords.end())))));
    set_.AdoptMember(std::move(second));
  }

  std::vector<const CDictionary*> Dictionaries() const {
    return {&text_, &binary_, &set_};
  }

  // The lines of `request`, read whole and read one unit of work at a
  // time, which must agree; sorted.
  template <typename Build>
  Words Lines(const Build& build, const CDictionary* dictionary) {
    SearchRequestResult whole = build(dictionary);
    SearchRequestResult sliced = build(dictionary);
    EXPECT_FALSE(whole.refused()) << whole.RefusalText();
    if (whole.refused() || sliced.refused()) return {};
    const Words lines = Sorted(testing::ReadAll(whole.query.get()));
    int suspensions = 0;
    EXPECT_EQ(
        Sorted(testing::ReadAllInSlices(sliced.query.get(), 1, &suspensions)),
        lines);
    if (sliced.query->GetExtent() > 1) {
      EXPECT_GT(suspensions, 0);
    }
    EXPECT_EQ(sliced.query->GetPosition(), sliced.query->GetExtent());
    return lines;
  }

  testing::ScratchDir dir_;
  CDictionaryTextFile text_;
  CDictionaryVocorFile binary_;
  CDictionarySet set_;
};

TEST_F(WordplayTest, HiddenWordsForwardsBackwardsWithoutThePhrasesOwnWords) {
  for (const CDictionary* d : Dictionaries()) {
    SCOPED_TRACE(d->GetTypeName());
    InputHistory phrase, minimum;
    // Across spaces and punctuation, in either case; "the" and "cat" are
    // the phrase's own words and stay out, "ache" spans two of them.
    const auto forwards = [&](const CDictionary* dic) {
      return BuildHiddenWordsRequest("The cat, a-ChE... rain!", "", false,
                                     &phrase, &minimum, dic);
    };
    EXPECT_EQ(Lines(forwards, d), (Words{"ache"}));
    EXPECT_EQ(phrase.entries(), (Words{"The cat, a-ChE... rain!"}));
    EXPECT_EQ(minimum.entries(), (Words{""}));
    // Backwards too, with a lower minimum: "spotat" holds "ta" forwards
    // ("at" is the phrase's own), and read backwards "tatops" holds "ta"
    // and "tops".
    const auto both = [&](const CDictionary* dic) {
      return BuildHiddenWordsRequest("sp-ot at", "2", true, nullptr, nullptr,
                                     dic);
    };
    EXPECT_EQ(Lines(both, d),
              (Words{"ta", "ta (reversed)", "tops (reversed)"}));
    // "flutter" is long enough but the phrase's own.
    const auto long_minimum = [&](const CDictionary* dic) {
      return BuildHiddenWordsRequest("flutter by, butterfly", "7", true,
                                     nullptr, nullptr, dic);
    };
    EXPECT_EQ(Lines(long_minimum, d), Words{});
  }
}

TEST_F(WordplayTest, LetterSelectionsWithWordsAndAnagrams) {
  for (const CDictionary* d : Dictionaries()) {
    SCOPED_TRACE(d->GetTypeName());
    const auto build = [](const CDictionary* dic) {
      return BuildLetterSelectionsRequest("Level 'em, Evil lee!", nullptr,
                                          dic);
    };
    // First letters l e e l; last l m l e; letters levelemevillee.
    EXPECT_EQ(Lines(build, d),
              (Words{"even letters eeeeile: not a word; no anagrams",
                     "first letters leel: not a word; no anagrams",
                     "last letters lmle: not a word; no anagrams",
                     "odd letters lvlmvle: not a word; no anagrams"}));
    const auto words = [](const CDictionary* dic) {
      return BuildLetterSelectionsRequest("vast ill love ease", nullptr, dic);
    };
    EXPECT_EQ(Lines(words, d),
              (Words{"even letters atllves: not a word; no anagrams",
                     "first letters vile: a word; anagrams evil, live, veil",
                     "last letters tlee: not a word; no anagrams",
                     "odd letters vsiloeae: not a word; no anagrams"}));
  }
  EXPECT_EQ(CEnumResultsLetterSelections::Selections("a"),
            (Words{"a", "a", "a", ""}));
}

TEST_F(WordplayTest, SpoonerismsOfTwoWordsSeveralWordsAndOneWord) {
  for (const CDictionary* d : Dictionaries()) {
    SCOPED_TRACE(d->GetTypeName());
    const auto lines = [&](const std::string& typed) {
      return Lines(
          [&](const CDictionary* dic) {
            return BuildSpoonerismRequest(typed, nullptr, dic);
          },
          d);
    };
    // Whole consonant groups swap.
    EXPECT_EQ(lines("Blushing crow"),
              (Words{"blushing crow -> crushing blow"}));
    // A leading y is a consonant, a y after one a vowel: fl-y, b-y.
    EXPECT_EQ(lines("flutter by"), (Words{"flutter by -> butter fly"}));
    // An empty group swaps too; qu is one group.
    EXPECT_EQ(lines("eat bit"), (Words{"eat bit -> beat it"}));
    EXPECT_EQ(lines("queen bean"), (Words{"queen bean -> been quean"}));
    // Every pair of several words, the others kept.
    EXPECT_EQ(lines("the blushing crow"),
              (Words{"the blushing crow -> the crushing blow"}));
    // One word: its splits into two words, and theirs.
    EXPECT_EQ(lines("rainbow"), (Words{"rain bow -> bain row"}));
    // No vowel, no group: nothing to swap.
    EXPECT_EQ(lines("nth hmm"), Words{});
  }
}

TEST(SpoonerizeTest, ConsonantGroups) {
  EXPECT_EQ(LeadingConsonants("crow"), 2u);
  EXPECT_EQ(LeadingConsonants("yes"), 1u);
  EXPECT_EQ(LeadingConsonants("fly"), 2u);
  EXPECT_EQ(LeadingConsonants("queen"), 2u);
  EXPECT_EQ(LeadingConsonants("eat"), 0u);
  EXPECT_EQ(LeadingConsonants("\xe9t\xe9"), 0u);  // accented vowel
  EXPECT_EQ(LeadingConsonants("nth"), std::string_view::npos);
  std::string a = "x", b = "y";
  EXPECT_FALSE(Spoonerize("bat", "bet", &a, &b));  // the same group
  EXPECT_FALSE(Spoonerize("eat", "it", &a, &b));   // both empty
  EXPECT_EQ(a + b, "xy");
  EXPECT_TRUE(Spoonerize("shop", "tin", &a, &b));
  EXPECT_EQ(a + " " + b, "top shin");
}

TEST_F(WordplayTest, RefusalsLeaveTheHistoriesAsTheOtherFormsDo) {
  InputHistory phrase, minimum;
  for (const char* bad : {"0", "-2", "x"}) {
    SearchRequestResult r =
        BuildHiddenWordsRequest("abc", bad, false, &phrase, &minimum, &text_);
    EXPECT_TRUE(r.refused());
    EXPECT_EQ(r.message, kMsgInvalidMinLength);
    EXPECT_EQ(r.input, 1);
  }
  EXPECT_TRUE(phrase.entries().empty());
  EXPECT_TRUE(minimum.entries().empty());
  for (const char* empty : {"", " ,.- 12"}) {
    SearchRequestResult refusals[] = {
        BuildHiddenWordsRequest(empty, "", false, &phrase, &minimum, &text_),
        BuildLetterSelectionsRequest(empty, &phrase, &text_),
        BuildSpoonerismRequest(empty, &phrase, &text_)};
    for (const SearchRequestResult& r : refusals) {
      EXPECT_TRUE(r.refused());
      EXPECT_EQ(r.input, 0);
      EXPECT_NE(r.RefusalText().find("no letter"), std::string::npos);
    }
  }
  // Without a dictionary: silent.
  SearchRequestResult r = BuildSpoonerismRequest("rainbow", nullptr, nullptr);
  EXPECT_TRUE(r.refused());
  EXPECT_EQ(r.RefusalText(), "");
}

TEST(FormatEquationResultsTest, EveryLineReadsAsAnEquation) {
  EnumPtr query = FormatEquationResults(
      testing::MakeVectorEnum({"rainbow;rain;bow", "evil;live", "redder"}));
  EXPECT_EQ(testing::ReadAll(query.get()),
            (Words{"rainbow = rain + bow", "evil = live", "redder"}));
  EXPECT_EQ(testing::ReadAll(query->Clone().get()).size(), 3u);
  EXPECT_TRUE(IsNone(
      FormatEquationResults(std::make_unique<CEnumResultsNone>()).get()));
}

}  // namespace
}  // namespace vocor
