// Random patterns of the full language (classes, ranges, negation, vowels,
// consonants, pieces, escapes, length ranges) over random word lists: the
// words every kind of dictionary yields, through the query API and through
// a crossword request, are the words the oracle's regular expression
// accepts. Lists use few letters, so that most patterns match something.
#include "search/pattern_oracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "dictionary/dictionary_set.h"
#include "dictionary/testing/sample_dics.h"
#include "dictionary/testing/scratch_dir.h"
#include "dictionary/text_file_dictionary.h"
#include "dictionary/vocor_file_dictionary.h"
#include "engine/charset.h"
#include "engine/palindrome.h"
#include "engine/pattern_automaton.h"
#include "engine/pattern_syntax.h"
#include "engine/testing/vector_enum.h"
#include "search/input_history.h"
#include "search/search_request.h"

namespace vocor {
namespace {

using testing::OracleAlphabet;
using testing::OraclePattern;
using Words = std::vector<std::string>;
using WordSet = std::set<std::string>;

// é è à ü ç ñ œ æ ø ß: vowels and consonants of the upper half.
const std::string kAccented = "\xe9\xe8\xe0\xfc\xe7\xf1\x9c\xe6\xf8\xdf";

// A few letters of `pool`, always at least one vowel and one consonant.
std::string RandomLetters(std::mt19937& rng, const std::string& pool) {
  std::string letters = rng() % 2 ? "ae" : "is";
  for (int n = 1 + rng() % 3; n > 0; --n) letters += pool[rng() % pool.size()];
  return letters;
}

// Words of 1 to 6 characters from `letters`, with an inner '-' or '\''
// now and then (text lists keep those inside words).
Words RandomWordList(std::mt19937& rng, const std::string& letters, int count,
                     bool inner_marks) {
  Words words;
  for (int i = 0; i < count; ++i) {
    std::string word;
    for (int n = 1 + rng() % 6; n > 0; --n)
      word += letters[rng() % letters.size()];
    if (inner_marks && word.size() > 1 && rng() % 6 == 0) {
      word.insert(1 + rng() % (word.size() - 1), 1, rng() % 2 ? '-' : '\'');
    }
    words.push_back(word);
  }
  return words;
}

WordSet Expected(const OraclePattern& pattern, const Words& words) {
  WordSet accepted;
  for (const auto& word : words) {
    if (pattern.Accepts(word)) accepted.insert(word);
  }
  return accepted;
}

WordSet Intersection(const WordSet& a, const WordSet& b) {
  WordSet both;
  for (const auto& word : a) {
    if (b.count(word)) both.insert(word);
  }
  return both;
}

WordSet ReadInSlices(CEnumResults* e, std::mt19937& rng) {
  const Words found = testing::ReadAllInSlices(e, 1 + rng() % 40);
  return WordSet(found.begin(), found.end());
}

// The words `dictionary` yields for the patterns, applied one after the
// other through the query API.
WordSet Search(const CDictionary& dictionary, const Words& patterns,
               std::mt19937& rng) {
  EnumPtr e = dictionary.CreateEnumerator();
  for (const auto& pattern : patterns)
    e = e->Pattern(std::move(e), pattern.c_str());
  return ReadInSlices(e.get(), rng);
}

std::string Lines(const Words& words) {
  std::string text;
  for (const auto& word : words) text += EngineToUtf8(word) + "\n";
  return text;
}

std::unique_ptr<CDictionaryVocorFile> CompiledDic(const Words& words) {
  auto dic = std::make_unique<CDictionaryVocorFile>();
  EXPECT_TRUE(
      dic->OpenImage(FileImage::FromBytes(testing::CompileWords(words))));
  return dic;
}

std::unique_ptr<CDictionaryTextFile> TextList(const testing::ScratchDir& dir,
                                              const std::string& name,
                                              const Words& words) {
  auto text = std::make_unique<CDictionaryTextFile>();
  text->SetFileName(dir.Write(name, Lines(words)).c_str());
  EXPECT_TRUE(text->Open());
  return text;
}

// The words split at random between a text list and a compiled file (or
// two compiled files when a text list cannot hold them).
std::unique_ptr<CDictionarySet> TwoMemberSet(std::mt19937& rng,
                                             const testing::ScratchDir& dir,
                                             const Words& words, bool text) {
  Words first, second;
  for (const auto& word : words) (rng() % 2 ? first : second).push_back(word);
  if (first.empty()) first.push_back(words.front());
  if (second.empty()) second.push_back(words.back());
  auto set = std::make_unique<CDictionarySet>();
  if (text) {
    set->AdoptMember(TextList(dir, "member.txt", first));
  } else {
    set->AdoptMember(CompiledDic(first));
  }
  set->AdoptMember(CompiledDic(second));
  return set;
}

// The engine's own matchers on each word, against the oracle: points at
// the automaton when a dictionary's answer differs.
void ExpectMatchersAgree(const OraclePattern& pattern, const Words& words) {
  PatternError error;
  ASSERT_TRUE(CheckPatternSyntax(pattern.text.c_str(), &error))
      << pattern.text << ": " << error.message;
  PatternAutomaton automaton(PatternProgram::Compile(pattern.text.c_str()));
  for (const auto& word : words) {
    ASSERT_EQ(automaton.Matches(word.c_str()), pattern.Accepts(word))
        << "pattern " << pattern.text << " word " << word;
  }
}

// What the crossword form finds with one or two patterns (nothing when it
// refuses them).
WordSet CrosswordRequestWords(const std::string& pattern,
                              const std::string& and_pattern,
                              const CDictionary& dictionary,
                              std::mt19937& rng) {
  InputHistory history, and_history;
  const SearchRequestResult request =
      BuildCrosswordRequest(EngineToUtf8(pattern), EngineToUtf8(and_pattern),
                            &history, &and_history, &dictionary);
  return request.refused() ? WordSet() : ReadInSlices(request.query.get(), rng);
}

// A search stopped after a few words: a clone made then starts afresh,
// the search goes on to the end, and after Reset yields it all again;
// meanwhile Contains answers for every word of the list.
void ExpectResumesAndContains(const CDictionary& source,
                              const std::string& pattern,
                              const WordSet& expected, const Words& words,
                              std::mt19937& rng) {
  const std::string what =
      std::string("pattern ") + pattern + " over " + source.GetTypeName();
  EnumPtr e = source.CreateEnumerator();
  e = e->Pattern(std::move(e), pattern.c_str());
  WordSet first_part;
  for (int n = static_cast<int>(rng() % 4); n > 0; --n) {
    int counter = 1 + static_cast<int>(rng() % 20);
    if (const char* word = e->Next(&counter)) first_part.insert(word);
  }
  EnumPtr clone = e->Clone();
  for (const auto& word : words) {
    EXPECT_EQ(e->Contains(word.c_str()), expected.count(word) > 0)
        << what << " contains " << word;
  }
  WordSet rest = ReadInSlices(e.get(), rng);
  rest.insert(first_part.begin(), first_part.end());
  EXPECT_EQ(rest, expected) << what << " (resumed)";
  EXPECT_EQ(ReadInSlices(clone.get(), rng), expected) << what << " (clone)";
  e->Reset();
  EXPECT_EQ(ReadInSlices(e.get(), rng), expected) << what << " (reset)";
}

struct ListRound {
  Words words;
  OracleAlphabet alphabet;
  bool text_lists = true;  // the words can be read from a text list
};

// Each pattern alone and every second one merged with the one before, on
// a compiled file, a text list (when it can hold the words), a set of two
// members and, for lower-case patterns over text words, a crossword
// request.
void CompareOnList(std::mt19937& rng, const ListRound& round, int patterns) {
  testing::ScratchDir dir;
  const auto dic = CompiledDic(round.words);
  std::unique_ptr<CDictionaryTextFile> text;
  if (round.text_lists) text = TextList(dir, "list.txt", round.words);
  const auto set = TwoMemberSet(rng, dir, round.words, round.text_lists);
  OraclePattern previous;
  for (int i = 0; i < patterns; ++i) {
    const OraclePattern pattern =
        testing::RandomOraclePattern(rng, round.alphabet, 1 + rng() % 6, true);
    ExpectMatchersAgree(pattern, round.words);
    const WordSet expected = Expected(pattern, round.words);
    const std::string what = "pattern " + pattern.text;
    EXPECT_EQ(Search(*dic, {pattern.text}, rng), expected) << what << " (dic)";
    if (text) {
      EXPECT_EQ(Search(*text, {pattern.text}, rng), expected)
          << what << " (text)";
    }
    EXPECT_EQ(Search(*set, {pattern.text}, rng), expected) << what << " (set)";

    std::vector<const CDictionary*> sources = {dic.get(), set.get()};
    if (text) sources.push_back(text.get());
    for (const CDictionary* source : sources) {
      ExpectResumesAndContains(*source, pattern.text, expected, round.words,
                               rng);
    }

    if (text) {
      EXPECT_EQ(CrosswordRequestWords(pattern.text, "", *text, rng), expected)
          << what << " (request)";
    }

    if (i % 2 == 1) {
      const WordSet both =
          Intersection(Expected(previous, round.words), expected);
      const Words pair = {previous.text, pattern.text};
      const std::string pair_what =
          "patterns " + previous.text + " and " + pattern.text;
      EXPECT_EQ(Search(*dic, pair, rng), both) << pair_what << " (dic)";
      if (text) {
        EXPECT_EQ(Search(*text, pair, rng), both) << pair_what << " (text)";
      }
      EXPECT_EQ(Search(*set, pair, rng), both) << pair_what << " (set)";
      // Refused as excluding each other only when no word matches both.
      if (text) {
        EXPECT_EQ(
            CrosswordRequestWords(previous.text, pattern.text, *text, rng),
            both)
            << pair_what << " (request)";
      }
    }
    previous = pattern;
    if (::testing::Test::HasFailure()) return;
  }
}

TEST(PatternOracleTest, TextAndCompiledListsYieldWhatTheOracleAccepts) {
  std::mt19937 rng(20261207);
  for (int r = 0; r < 300; ++r) {
    ListRound round;
    round.alphabet.letters = RandomLetters(rng, "bnrt" + kAccented);
    round.words = RandomWordList(rng, round.alphabet.letters, 1 + rng() % 40,
                                 /*inner_marks=*/true);
    CompareOnList(rng, round, 8);
    if (HasFailure()) return;
  }
}

// Compiled files hold any byte from 1 to 126 and capitals: words with the
// special characters, matched through escapes, and capitals, which the
// vowel and consonant classes and negated classes count as letters.
TEST(PatternOracleTest, EscapesAndCapitalsOnCompiledLists) {
  std::mt19937 rng(1252);
  for (int r = 0; r < 200; ++r) {
    ListRound round;
    round.alphabet.letters = RandomLetters(rng, "bAE\xc9\xe9\xc7");
    round.alphabet.escapes = true;
    round.text_lists = false;
    std::string word_bytes = round.alphabet.letters;
    for (int n = 1 + rng() % 3; n > 0; --n) {
      word_bytes += testing::kEscapable[rng() % 8];
    }
    round.words = RandomWordList(rng, word_bytes, 1 + rng() % 40, false);
    CompareOnList(rng, round, 8);
    if (HasFailure()) return;
  }
}

// Words over a few letters, as a compiled file and as a text list.
struct SmallList {
  OracleAlphabet alphabet;
  Words words;
  std::unique_ptr<CDictionaryVocorFile> dic;
  std::unique_ptr<CDictionaryTextFile> text;

  std::vector<const CDictionary*> sources() const {
    return {dic.get(), text.get()};
  }
};

SmallList RandomSmallList(std::mt19937& rng, const testing::ScratchDir& dir,
                          int most_words) {
  SmallList list;
  list.alphabet.letters = RandomLetters(rng, "bnt\xe9\xe7");
  list.words =
      RandomWordList(rng, list.alphabet.letters, 1 + rng() % most_words, false);
  list.dic = CompiledDic(list.words);
  list.text = TextList(dir, "small.txt", list.words);
  return list;
}

// `least` tiles or a few more, now and then a blank.
std::string RandomTiles(std::mt19937& rng, const std::string& letters,
                        int least) {
  std::string tiles;
  for (int n = least + rng() % 6; n > 0; --n) {
    tiles += rng() % 8 ? letters[rng() % letters.size()] : '?';
  }
  return tiles;
}

// What the anagram form finds (nothing when it refuses; then *refused).
WordSet AnagramRequestWords(const std::string& tiles,
                            const std::string& pattern,
                            const CDictionary* source, std::mt19937& rng,
                            bool* refused) {
  InputHistory letters_history, pattern_history;
  const SearchRequestResult request =
      BuildAnagramRequest(EngineToUtf8(tiles), EngineToUtf8(pattern),
                          &letters_history, &pattern_history, source);
  *refused = request.refused();
  return *refused ? WordSet() : ReadInSlices(request.query.get(), rng);
}

// Whether `word` can be spelled from `tiles`, a '?' standing for any one
// character.
bool Fits(const std::string& word, const std::string& tiles) {
  int left[256] = {};
  for (char c : tiles) ++left[static_cast<unsigned char>(c)];
  int blanks = left[static_cast<unsigned char>('?')];
  for (char c : word) {
    if (left[static_cast<unsigned char>(c)] > 0) {
      --left[static_cast<unsigned char>(c)];
    } else if (blanks-- <= 0) {
      return false;
    }
  }
  return true;
}

// The anagram form with a pattern: the words spelled from the tiles that
// match it. The pattern's richer elements count as the characters they
// match, not as the bytes they are written with, when the request weighs
// the pattern against the tiles.
TEST(PatternOracleTest, AnagramsShapedByPatterns) {
  std::mt19937 rng(6174);
  testing::ScratchDir dir;
  for (int r = 0; r < 300; ++r) {
    const SmallList list = RandomSmallList(rng, dir, 40);
    const std::string tiles = RandomTiles(rng, list.alphabet.letters, 2);
    const OraclePattern pattern =
        testing::RandomOraclePattern(rng, list.alphabet, 1 + rng() % 5, true);
    WordSet expected;
    for (const auto& word : list.words) {
      if (pattern.Accepts(word) && Fits(word, tiles)) expected.insert(word);
    }
    for (const CDictionary* source : list.sources()) {
      bool refused = false;
      ASSERT_EQ(AnagramRequestWords(tiles, pattern.text, source, rng, &refused),
                expected)
          << "tiles " << tiles << " pattern " << pattern.text << " over "
          << source->GetTypeName() << (refused ? " (refused)" : "");
    }
  }
}

// The palindrome form with a pattern: the words that read as themselves
// (or as a word of the list) backwards and match the pattern; the pattern
// must never narrow the list the reversed words are looked up in.
TEST(PatternOracleTest, ReversalsShapedByPatterns) {
  std::mt19937 rng(5005);
  testing::ScratchDir dir;
  for (int r = 0; r < 300; ++r) {
    const SmallList list = RandomSmallList(rng, dir, 40);
    const OraclePattern pattern =
        testing::RandomOraclePattern(rng, list.alphabet, 1 + rng() % 5, true);
    const int form = static_cast<int>(rng() % 2);
    const WordSet all(list.words.begin(), list.words.end());
    WordSet expected;
    for (const auto& word : list.words) {
      const std::string back(word.rbegin(), word.rend());
      if (pattern.Accepts(word) &&
          (form ? all.count(back) > 0 : back == word)) {
        expected.insert(word);
      }
    }
    for (const CDictionary* source : list.sources()) {
      InputHistory history;
      const SearchRequestResult request = BuildPalindromeRequest(
          kReverse, form, EngineToUtf8(pattern.text), &history, source);
      const WordSet found = request.refused()
                                ? WordSet()
                                : ReadInSlices(request.query.get(), rng);
      ASSERT_EQ(found, expected) << "pattern " << pattern.text << " form "
                                 << form << " over " << source->GetTypeName();
    }
  }
}

// Whether `word` holds the `with` letters (as many of each as given) and
// none of the `without` letters.
bool HoldsLetters(const std::string& word, const std::string& with,
                  const std::string& without) {
  int missing[256] = {};
  for (char c : with) ++missing[static_cast<unsigned char>(c)];
  for (char c : word) {
    if (without.find(c) != std::string::npos) return false;
    --missing[static_cast<unsigned char>(c)];
  }
  return std::all_of(std::begin(missing), std::end(missing),
                     [](int n) { return n <= 0; });
}

// The crossword form's letter inputs beside a pattern: the words that match
// it, hold the wanted letters and none of the excluded ones; a letter both
// wanted and excluded finds nothing.
TEST(PatternOracleTest, CrosswordWithAndWithoutLetters) {
  std::mt19937 rng(2024);
  testing::ScratchDir dir;
  for (int r = 0; r < 300; ++r) {
    const SmallList list = RandomSmallList(rng, dir, 40);
    const OraclePattern pattern =
        testing::RandomOraclePattern(rng, list.alphabet, 1 + rng() % 5, true);
    const std::string& letters = list.alphabet.letters;
    std::string with, without;
    for (int n = rng() % 3; n > 0; --n) with += letters[rng() % letters.size()];
    for (int n = rng() % 3; n > 0; --n) {
      without += letters[rng() % letters.size()];
    }
    WordSet expected;
    for (const auto& word : list.words) {
      if (pattern.Accepts(word) && HoldsLetters(word, with, without)) {
        expected.insert(word);
      }
    }
    for (const CDictionary* source : list.sources()) {
      const SearchRequestResult request = BuildCrosswordRequest(
          CrosswordInputs{EngineToUtf8(pattern.text), "", EngineToUtf8(with),
                          EngineToUtf8(without)},
          CrosswordHistories{}, source);
      const WordSet found = request.refused()
                                ? WordSet()
                                : ReadInSlices(request.query.get(), rng);
      ASSERT_EQ(found, expected)
          << pattern.text << " with " << with << " without " << without
          << " over " << source->GetTypeName();
    }
  }
}

// A multi-word pattern: a range ahead (always) and one pattern per word.
struct PhrasePattern {
  std::string typed;
  OraclePattern whole;  // only its range counts
  std::vector<OraclePattern> pieces;

  bool Accepts(const Words& phrase) const {
    int letters = 0;
    for (size_t i = 0; i < phrase.size(); ++i) {
      if (!pieces[i].Accepts(phrase[i])) return false;
      letters += static_cast<int>(phrase[i].size());
    }
    return whole.InRange(letters);
  }
};

PhrasePattern RandomPhrasePattern(std::mt19937& rng,
                                  const OracleAlphabet& alphabet, int words) {
  PhrasePattern pattern;
  pattern.pieces.resize(words);
  for (auto& piece : pattern.pieces) {
    piece = testing::RandomOraclePattern(rng, alphabet, 1 + rng() % 3, false);
  }
  const int low = static_cast<int>(rng() % 8);
  const int high = rng() % 3 ? low + static_cast<int>(rng() % 5) : -1;
  pattern.whole.min_length = low == 0 && high < 0 ? 1 : low;
  pattern.whole.max_length = high == 0 ? 1 : high;
  pattern.typed =
      testing::RangeText(pattern.whole.min_length, pattern.whole.max_length);
  for (int i = 0; i < words; ++i) {
    pattern.typed += (i ? " " : "") + pattern.pieces[i].text;
  }
  return pattern;
}

// Every phrase of `count` words of the list (a word may come twice).
std::vector<Words> AllPhrases(const Words& words, int count) {
  std::vector<Words> phrases = {{}};
  for (int i = 0; i < count; ++i) {
    std::vector<Words> longer;
    for (const auto& phrase : phrases) {
      for (const auto& word : words) {
        longer.push_back(phrase);
        longer.back().push_back(word);
      }
    }
    phrases = std::move(longer);
  }
  return phrases;
}

std::string Joined(const Words& phrase) {
  std::string text;
  for (const auto& word : phrase) text += (text.empty() ? "" : " ") + word;
  return text;
}

// Multi-word patterns, built as a crossword search builds them and then
// narrowed by a second one: each word matches its piece, and the range
// ahead bounds the letters of the whole phrase.
TEST(PatternOracleTest, RangeAheadOfAPhraseBoundsTheWholePhrase) {
  std::mt19937 rng(77);
  testing::ScratchDir dir;
  for (int r = 0; r < 150; ++r) {
    const SmallList list = RandomSmallList(rng, dir, 8);
    const int count = 2 + static_cast<int>(rng() % 2);
    const PhrasePattern first = RandomPhrasePattern(rng, list.alphabet, count);
    const PhrasePattern second = RandomPhrasePattern(rng, list.alphabet, count);
    WordSet expected, narrowed;
    for (const auto& phrase : AllPhrases(list.words, count)) {
      if (!first.Accepts(phrase)) continue;
      expected.insert(Joined(phrase));
      if (second.Accepts(phrase)) narrowed.insert(Joined(phrase));
    }

    PatternError error;
    ASSERT_TRUE(CheckPatternSyntax(first.typed.c_str(), &error))
        << first.typed << ": " << error.message;
    for (const CDictionary* source : list.sources()) {
      const std::string what = std::string(" over ") + source->GetTypeName() +
                               ", list " + Joined(list.words);
      EnumPtr e =
          ApplyWordPattern(source->CreateEnumerator(), first.typed.c_str());
      EnumPtr copy = e->Clone();
      ASSERT_EQ(ReadInSlices(e.get(), rng), expected) << first.typed << what;
      copy = copy->Pattern(std::move(copy), second.typed.c_str());
      ASSERT_EQ(ReadInSlices(copy.get(), rng), narrowed)
          << first.typed << " then " << second.typed << what;
    }
  }
}

// Phrase anagrams shaped by a multi-word pattern: each word matches its
// piece, the phrase is spelled from the tiles (all of them when a piece
// holds a star) and its letters fall in the range.
TEST(PatternOracleTest, PhraseAnagramsShapedByPatterns) {
  std::mt19937 rng(1729);
  testing::ScratchDir dir;
  for (int r = 0; r < 200; ++r) {
    const SmallList list = RandomSmallList(rng, dir, 12);
    const std::string tiles = RandomTiles(rng, list.alphabet.letters, 3);
    PhrasePattern pattern = RandomPhrasePattern(rng, list.alphabet, 2);
    // A piece of a lone star is a word of any length listed once per set
    // of words; left out, so that every order of the words counts.
    if (pattern.pieces[0].text == "*" || pattern.pieces[1].text == "*") {
      continue;
    }
    const bool use_all =
        pattern.pieces[0].has_star || pattern.pieces[1].has_star;
    WordSet expected;
    for (const auto& phrase : AllPhrases(list.words, 2)) {
      const std::string letters = phrase[0] + phrase[1];
      if (pattern.Accepts(phrase) && Fits(letters, tiles) &&
          (!use_all || letters.size() == tiles.size())) {
        expected.insert(Joined(phrase));
      }
    }
    for (const CDictionary* source : list.sources()) {
      bool refused = false;
      ASSERT_EQ(
          AnagramRequestWords(tiles, pattern.typed, source, rng, &refused),
          expected)
          << "tiles " << tiles << " pattern " << pattern.typed << " over "
          << source->GetTypeName() << (refused ? " (refused)" : "");
    }
  }
}

// The two ways the anagram form once misread a pattern of the richer
// language: by counting the bytes a class, a piece or a range is written
// with as letters it needs (and refusing "{listen}" for want of letters),
// and by taking a '*' inside a class for a star (and asking a phrase to
// use every tile).
TEST(PatternOracleTest, AnagramPatternsCountCharactersNotBytes) {
  const auto dic = CompiledDic({"ab", "c", "enlist", "listen", "silent"});
  const struct {
    const char* tiles;
    const char* pattern;
    WordSet expected;
  } cases[] = {
      {"listen", "{listen}", {"enlist", "listen", "silent"}},
      {"listen", "[ls]?????", {"listen", "silent"}},
      {"listen", "6:*", {"enlist", "listen", "silent"}},
      {"abcd", "[a*]? ?", {"ab c"}},
      {"abcd", "2-3:[a*]? ?", {"ab c"}},
  };
  std::mt19937 rng(3);
  for (const auto& c : cases) {
    bool refused = false;
    EXPECT_EQ(AnagramRequestWords(c.tiles, c.pattern, dic.get(), rng, &refused),
              c.expected)
        << c.tiles << " " << c.pattern << (refused ? " (refused)" : "");
  }
}

// Worked by hand from the language's definition, the oracle aside: the
// words each pattern must match and must not, through the automaton and a
// walk of a compiled file of all of them.
TEST(PatternOracleTest, HandWorkedExamples) {
  const struct {
    const char* pattern;
    Words yes, no;
  } cases[] = {
      {"[aeiou]?[^aeiou]??s",
       {"aabcds", "eeyees"},
       {"aa-cds", "aaecds", "abcds"}},
      {"#@#",
       {"bad", "yay",
        "b\xf8"
        "d",
        "\xdf\xe9\xe7"},
       {"b'd", "aba", "byd"}},
      {"@",
       {"\xe9", "\x9c", "\xe6", "\xc9", "\xf8", "u"},
       {"y", "\xff", "-", "b"}},
      {"#",
       {"\xdf", "\xe7", "\xf1", "\xff", "y", "B"},
       {"-", "'", "a", "\xe0"}},
      {"{listen}",
       {"silent", "enlist", "listen"},
       {"listens", "silene", "lis"}},
      {"s{ta?}*", {"stab", "statue", "sxat"}, {"sat", "s-ta", "sbbta"}},
      {"5-7:s*", {"sxxxx", "sxxxxxx"}, {"ssss", "sxxxxxxx", "xxxxx"}},
      {"8-:*ing", {"abcdeing", "abcdefging"}, {"singing", "abcdeinga"}},
      {"-4:*", {"a", "abcd", "ab-d"}, {"abcde"}},
      {"6:", {"abcdef", "ab'def"}, {"abcde", "abcdefg"}},
      {"\\[a\\]", {"[a]"}, {"a", "[b]"}},
      {"a\\:b\\@\\#\\{\\}\\\\", {"a:b@#{}\\"}, {"a:b@#{}"}},
      {"[a-c]x", {"bx", "ax", "cx"}, {"dx", "-x"}},
      {"[!a-c]x", {"dx", "\xe9x"}, {"bx", "-x", "'x"}},
      {"[^ab]", {"c", "\xe9"}, {"a", "-", "'"}},
      {"[\xe0-\xff]", {"\xe9", "\xff"}, {"a", "\xc9"}},
      {"*{xz}*", {"azxb", "xz", "zx"}, {"zax", "x", "xaz"}},
      {"[\\]\\[]x", {"]x", "[x"}, {"x", "\\x"}},
      {"{?}{a?}", {"bab", "bba", "aaa"}, {"ab", "b-a", "bbb"}},
  };
  for (const auto& c : cases) {
    PatternError error;
    ASSERT_TRUE(CheckPatternSyntax(c.pattern, &error))
        << c.pattern << ": " << error.message;
    PatternAutomaton automaton(PatternProgram::Compile(c.pattern));
    Words all = c.yes;
    all.insert(all.end(), c.no.begin(), c.no.end());
    for (const auto& word : c.yes) {
      EXPECT_TRUE(automaton.Matches(word.c_str())) << c.pattern << " " << word;
    }
    for (const auto& word : c.no) {
      EXPECT_FALSE(automaton.Matches(word.c_str())) << c.pattern << " " << word;
    }
    std::mt19937 rng(1);
    EXPECT_EQ(Search(*CompiledDic(all), {c.pattern}, rng),
              WordSet(c.yes.begin(), c.yes.end()))
        << c.pattern;
  }
}

}  // namespace
}  // namespace vocor
